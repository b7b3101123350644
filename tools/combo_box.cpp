#include "tools/combo_box.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

#include <algorithm>
#include <charconv>

#include "tools/format_message_box.h"
#include "tools/message_box_service.h"
#include "utils/char_class.h"

namespace kvt {

namespace {

constexpr int kNumberChars = 9;
constexpr qsizetype kMenuTextChars = 63;

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

TKRVComboBox::TKRVComboBox(QWidget* parent, bool editable, int textLimit,
                           std::optional<std::vector<std::string>> items)
    : QComboBox(parent) {
  setEditable(editable);
  if (editable) {
    // Texts typed by the user are plain; the completer would change what they typed.
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    if (textLimit > 0) lineEdit()->setMaxLength(textLimit);
  }
  if (items) SetItems(std::move(*items));
}

void TKRVComboBox::SetItems(std::vector<std::string> items) {
  initialItems = std::move(items);
  transferMode = kTransferIndex;
}

void TKRVComboBox::SetNumberRange(int lo, int hi) {
  minimum = lo;
  maximum = hi;
  transferMode = kTransferNumber;
}

void TKRVComboBox::AddNumbers(int from, int to, int step) {
  if (step < 1) return;
  for (int64_t v = from; v <= to; v += step) addItem(QString::number(v));
}

void TKRVComboBox::FillFromMenu(const QMenu& menu) {
  const QList<QAction*> actions = menu.actions();
  if (actions.isEmpty()) return;
  clear();
  for (const QAction* action : actions) {
    QString text = action->text().left(kMenuTextChars);
    if (!text.isEmpty()) addItem(text);
  }
}

void TKRVComboBox::FillItems(const std::vector<std::string>& items) {
  clear();
  for (const std::string& item : items) addItem(FromUtf8(item));
}

std::string TKRVComboBox::NumberPrefix() const {
  return currentText().left(kNumberChars).toStdString();
}

int32_t TKRVComboBox::GetNumber() const {
  // As atoi reads: blanks, an optional sign, then the digits as far as they go.
  std::string text = NumberPrefix();
  size_t start = text.find_first_not_of(" \t");
  if (start == std::string::npos) return 0;
  const char* first = text.data() + start;
  if (*first == '+') ++first;
  int32_t value = 0;
  std::from_chars(first, text.data() + text.size(), value);
  return value;
}

void TKRVComboBox::SetNumber(int32_t value) {
  value = std::clamp(value, std::min(minimum, maximum), std::max(minimum, maximum));
  QString text = QString::number(value);
  int index = findText(text, Qt::MatchFixedString);
  if (index >= 0) {
    setCurrentIndex(index);
  } else if (transferMode == kTransferNumber && isEditable()) {
    setCurrentIndex(-1);
    setEditText(text);
    lineEdit()->selectAll();
  }
}

bool TKRVComboBox::IsNumberValid() const {
  std::string text = NumberPrefix();
  if (!IsNumberText(text.c_str(), false)) return false;
  int32_t value = GetNumber();
  return value >= std::min(minimum, maximum) && value <= std::max(minimum, maximum);
}

int32_t TKRVComboBox::TransferGet() const {
  return transferMode == kTransferNumber ? GetNumber() : currentIndex();
}

void TKRVComboBox::TransferSet(int32_t value) {
  if (transferMode == kTransferNumber)
    SetNumber(value);
  else
    setCurrentIndex(value >= 0 && value < count() ? value : -1);
}

bool TKRVComboBox::CanClose() {
  if (transferMode != kTransferNumber || IsNumberValid()) return true;
  std::string caption = windowTitle().toStdString();
  FormatMessageBox(this, MB_OK | MB_ICONEXCLAMATION, caption.c_str(), "%s",
                   "Value is out of range");
  setFocus(Qt::OtherFocusReason);
  return false;
}

void TKRVComboBox::SetupWindow() {
  setUp = true;
  if (initialItems) FillItems(*initialItems);
}

void TKRVComboBox::showEvent(QShowEvent* event) {
  if (!setUp) SetupWindow();
  QComboBox::showEvent(event);
}

}  // namespace kvt
