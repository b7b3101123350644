#pragma once
// The page-setup defaults a new or reset score takes its margins and Mirror flag from. The
// application makes its own provider (from the user's page-setup settings) and passes it in
// the services object (TServices::pageSetupDefaults); headless runs leave that member null,
// and the null provider answers TPageMargins' defaults (half an inch on every side, no
// mirroring).
//
// Calls come from the UI thread and the converter's one thread.

namespace kvt {

struct TPageMargins;
struct TServices;

class TPageSetupDefaults {
public:
  virtual ~TPageSetupDefaults() = default;
  // The margins in inches and the Mirror flag for a new score.
  virtual TPageMargins GetDefaultMargins() = 0;
};

// The services' provider; the null provider for a null member.
TPageSetupDefaults& PageSetupDefaultsOf(const TServices& services);

}  // namespace kvt
