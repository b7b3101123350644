#include "tools/property_focus.h"

#include <QAbstractButton>
#include <QKeySequence>
#include <QLabel>
#include <algorithm>
#include <vector>

#include "tools/property_dialog.h"
#include "tools/property_page.h"
#include "tools/property_styles.h"
#include "tools/property_tab.h"
#include "tools/tab_stops.h"

namespace kvt {

namespace {

// Controls compare only the first 100 characters of their text.
constexpr int kMnemonicTextLimit = 100;

QWidget* Step(const std::vector<QWidget*>& stops, QWidget* from, bool forward) {
  if (stops.empty()) return nullptr;
  const auto it = std::find(stops.begin(), stops.end(), from);
  if (it == stops.end()) return forward ? stops.front() : stops.back();
  const size_t i = static_cast<size_t>(it - stops.begin());
  const size_t n = stops.size();
  return stops[forward ? (i + 1) % n : (i + n - 1) % n];
}

QWidget* SelectedPageWindow(const TKVPropertyDialog& dialog) {
  const TKVPropertyTab* tab = dialog.Tab();
  if (!tab || tab->Count() == 0) return nullptr;
  return tab->PageAt(tab->Selected())->Window();
}

// One Tab step without the hidden-strip rule; null for no move.
QWidget* OneStep(TKVPropertyDialog& dialog, QWidget* focus, bool forward) {
  TKVPropertyTab* tab = dialog.Tab();
  QWidget* page = SelectedPageWindow(dialog);
  const std::vector<QWidget*> pageStops = page ? TabStopsOf(*page) : std::vector<QWidget*>();
  const std::vector<QWidget*> dialogStops = TabStopsOf(dialog);
  if (page && page->isAncestorOf(focus)) {
    if (pageStops.empty()) return tab;
    if (forward)
      return focus == pageStops.back() ? Step(dialogStops, tab, true)
                                       : Step(pageStops, focus, true);
    return focus == pageStops.front() ? tab : Step(pageStops, focus, false);
  }
  QWidget* next = Step(dialogStops, focus, forward);
  if (focus == tab) {
    if (forward && !pageStops.empty()) return pageStops.front();
    return next != focus ? next : nullptr;
  }
  if (next == tab && !forward && !pageStops.empty()) return pageStops.back();
  return next;
}

int MnemonicOf(const QString& text) {
  const QKeySequence mnemonic = QKeySequence::mnemonic(text.left(kMnemonicTextLimit));
  return mnemonic.isEmpty() ? 0 : static_cast<int>(mnemonic[0].key());
}

QString TextOf(const QWidget& widget) {
  if (auto* button = qobject_cast<const QAbstractButton*>(&widget)) return button->text();
  if (auto* label = qobject_cast<const QLabel*>(&widget)) return label->text();
  return {};
}

// The container's widgets in window order, not descending into skip.
void Walk(QWidget& container, QWidget& root, const QWidget* skip, std::vector<QWidget*>& out) {
  for (QObject* child : container.children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (!widget || widget == skip || widget->isWindow() || !widget->isVisibleTo(&root)) continue;
    out.push_back(widget);
    Walk(*widget, root, skip, out);
  }
}

std::function<void()> ControlMnemonic(QWidget& container, const QWidget* skip, int key) {
  std::vector<QWidget*> widgets;
  Walk(container, container, skip, widgets);
  for (size_t i = 0; i < widgets.size(); ++i) {
    QWidget* widget = widgets[i];
    if (!widget->isEnabled() || MnemonicOf(TextOf(*widget)) != key) continue;
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      QPointer<QAbstractButton> target(button);
      return [target] {
        if (!target) return;
        target->setFocus(Qt::ShortcutFocusReason);
        target->click();
      };
    }
    // A label hands the focus to the next tab stop after it.
    QWidget* target = nullptr;
    if (!(widget->focusPolicy() & Qt::TabFocus)) {
      for (size_t j = i + 1; j < widgets.size() && !target; ++j)
        if ((widgets[j]->focusPolicy() & Qt::TabFocus) && widgets[j]->isEnabled())
          target = widgets[j];
    } else {
      target = widget;
    }
    QPointer<QWidget> guarded(target);
    return [guarded] {
      if (guarded) guarded->setFocus(Qt::ShortcutFocusReason);
    };
  }
  return {};
}

}  // namespace

QWidget* TabFocusTarget(TKVPropertyDialog& dialog, QWidget* focus, bool forward) {
  TKVPropertyTab* tab = dialog.Tab();
  if (!tab) return nullptr;
  QWidget* target = OneStep(dialog, focus, forward);
  // A hidden strip is passed over; the walk ends within a round of the stops.
  for (int guard = 0; target == tab && (tab->Options() & ptsNoTabs) && guard < 3; ++guard)
    target = OneStep(dialog, tab, forward);
  return target == tab && (tab->Options() & ptsNoTabs) ? nullptr : target;
}

std::function<void()> MnemonicAction(TKVPropertyDialog& dialog, QWidget* focus, int key) {
  TKVPropertyTab* tab = dialog.Tab();
  if (!tab || key == 0) return {};
  QWidget* page = SelectedPageWindow(dialog);
  const bool inPage = page && page->isAncestorOf(focus);
  auto onDialog = [&] { return ControlMnemonic(dialog, tab, key); };
  auto onPage = [&] {
    return page ? ControlMnemonic(*page, nullptr, key) : std::function<void()>();
  };
  if (auto own = inPage ? onPage() : onDialog()) return own;
  if (tab->TabByMnemonic(key) >= 0) {
    QPointer<TKVPropertyTab> guarded(tab);
    return [guarded, key] {
      if (guarded) guarded->SelectByMnemonic(key);
    };
  }
  return inPage ? onDialog() : onPage();
}

}  // namespace kvt
