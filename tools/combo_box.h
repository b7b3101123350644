#pragma once
// TKRVComboBox: the combo box of the dialogs. It fills from a list of UTF-8 texts, from a menu
// or with a run of numbers, and exchanges data with its dialog in one of three modes: 0 the
// current text, 1 the selected index, 2 an integer held to a range; in mode 2 CanClose refuses
// an invalid or out-of-range number with "Value is out of range" (caption the combo box's
// window title, exclamation icon, through the message-box service) and takes the focus back.
// The initial items are added when the box is first shown.

#include <QComboBox>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QMenu;

namespace kvt {

class TKRVComboBox : public QComboBox {
public:
  enum TransferMode { kTransferText = 0, kTransferIndex = 1, kTransferNumber = 2 };

  // editable: the box has an edit field (a drop-down box rather than a drop-down list).
  // textLimit: characters the edit field takes (0: no limit). Given items set mode 1.
  TKRVComboBox(QWidget* parent, bool editable, int textLimit,
               std::optional<std::vector<std::string>> items = std::nullopt);

  void SetItems(std::vector<std::string> items);
  void SetTransferMode(int mode) { transferMode = mode; }
  int TransferMode() const { return transferMode; }
  void SetNumberRange(int minimum, int maximum);

  // "%d" of from, from+step, ... up to and including to; a step below 1 adds nothing.
  void AddNumbers(int from, int to, int step);
  // When the menu has actions, replaces the list with their texts (at most 63 characters);
  // actions without text are skipped.
  void FillFromMenu(const QMenu& menu);
  void FillItems(const std::vector<std::string>& items);

  // The integer at the start of the first 9 characters of the text (0 when there is none).
  int32_t GetNumber() const;
  // Clamped to the range; mode 2 puts the text into the edit field when no item has it.
  void SetNumber(int32_t value);
  // The first 9 characters are a whole number (no decimal point) within the range.
  bool IsNumberValid() const;

  // Modes 1 and 2 (the 4-byte transfer): get answers the index or the number, set selects.
  int32_t TransferGet() const;
  void TransferSet(int32_t value);
  // The dialog's close check; always true outside mode 2.
  bool CanClose();

  void SetupWindow();

protected:
  void showEvent(QShowEvent* event) override;

private:
  std::string NumberPrefix() const;

  int transferMode = kTransferText;
  int minimum = INT32_MIN;
  int maximum = INT32_MAX;
  std::optional<std::vector<std::string>> initialItems;
  bool setUp = false;
};

}  // namespace kvt
