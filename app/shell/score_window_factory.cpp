#include "app/shell/score_window_factory.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/shell/main_frame.h"
#include "notation/staff/music_score.h"
#include "utils/path_utils.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

// Until the score view takes its place: a child that names the score and holds it, so the
// frame's opening, finding and closing of score windows work end to end.
class TScoreSummaryWindow final : public QMdiSubWindow {
public:
  explicit TScoreSummaryWindow(std::unique_ptr<TMusicScore> owned) : score(std::move(owned)) {
    setAttribute(Qt::WA_DeleteOnClose);
    const std::string title = Utf16ToUtf8(score->GetSongInfo().title);
    auto* label = new QLabel(QString::fromStdString(title) + QStringLiteral("\n") +
                             QString::number(score->GetStaffCount()) + QStringLiteral(" staves"));
    label->setAlignment(Qt::AlignCenter);
    setWidget(label);
  }

private:
  std::unique_ptr<TMusicScore> score;
};

}  // namespace

QMdiSubWindow* CreateScoreWindow(TTarlowmedeFrame& frame, std::unique_ptr<TMusicScore> score,
                                 const TScoreWindowRequest& request) {
  if (score == nullptr) return nullptr;
  auto* window = new TScoreSummaryWindow(std::move(score));
  window->setWindowFilePath(QString::fromStdString(request.path));
  const std::string name =
      request.path.empty() ? std::string("Untitled") : std::string(GetFileNamePart(request.path));
  window->setWindowTitle(QString::fromStdString(name));
  frame.Client().addSubWindow(window);
  window->show();
  return window;
}

}  // namespace kvt
