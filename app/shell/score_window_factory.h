#pragma once
// The one place where an opened score becomes a window of the main frame.

#include <memory>
#include <string>

namespace kvt {

class TAutosaveClaim;
class TScoreWindow;
class TMusicScore;
class TTarlowmedeFrame;

struct TScoreWindowRequest {
  std::string path;    // the file the score came from ("" for none)
  int mode = 0;        // TOpenMode
  bool bound = false;  // saving writes to `path` without asking for a name
};

// Creates the score window for the score in the frame's MDI area and shows it; the window owns
// the score. A recovered autosave file comes with the claim recovery took on it.
TScoreWindow* CreateScoreWindow(TTarlowmedeFrame& frame, std::unique_ptr<TMusicScore> score,
                                const TScoreWindowRequest& request);
TScoreWindow* CreateScoreWindow(TTarlowmedeFrame& frame, std::unique_ptr<TMusicScore> score,
                                const TScoreWindowRequest& request, TAutosaveClaim claim);

}  // namespace kvt
