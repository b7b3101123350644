#include "app/editor/midi_input_dispatcher.h"

#include <QApplication>
#include <QWidget>

#include "app/editor/midi_keyboard_entry.h"
#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"

namespace kvt {

namespace {

TScoreEdit* FocusedScoreEdit() {
  for (QWidget* w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget())
    if (auto* view = dynamic_cast<TScoreEdit*>(w)) return view;
  return nullptr;
}

}  // namespace

TMidiInputDispatcher::TMidiInputDispatcher() : finder(FocusedScoreEdit) {}

void TMidiInputDispatcher::OnMidiInput(uint32_t shortMsg) {
  TScoreEdit* view = finder ? finder() : nullptr;
  if (view != lastView.data()) {
    decoder.Reset();
    lastView = view;
  }
  if (view == nullptr) return;
  if (!view->CanEdit() || view->HasSelection() || view->Host().IsPlaying(view->Score())) return;
  EnterMidiAction(*view, decoder.Feed(shortMsg));
}

}  // namespace kvt
