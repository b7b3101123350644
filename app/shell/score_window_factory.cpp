#include "app/shell/score_window_factory.h"

#include "app/editor/score_window.h"
#include "app/shell/main_frame.h"
#include "notation/staff/music_score.h"
#include "platform/autosave_store.h"

namespace kvt {

TScoreWindow* CreateScoreWindow(TTarlowmedeFrame& frame, std::unique_ptr<TMusicScore> score,
                                const TScoreWindowRequest& request) {
  return CreateScoreWindow(frame, std::move(score), request, TAutosaveClaim());
}

TScoreWindow* CreateScoreWindow(TTarlowmedeFrame& frame, std::unique_ptr<TMusicScore> score,
                                const TScoreWindowRequest& request, TAutosaveClaim claim) {
  if (score == nullptr) return nullptr;
  auto* window = new TScoreWindow(frame.Host(), request.path, std::move(score), request.mode,
                                  request.bound, std::move(claim));
  window->AddToArea(frame.Client());
  return window;
}

}  // namespace kvt
