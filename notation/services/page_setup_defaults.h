#pragma once
// The page-setup defaults a new or reset score takes its margins and Mirror flag from. The
// application installs its own provider at start-up (from the user's page-setup settings);
// until then, and in headless runs, the null provider answers TPageMargins' defaults (half an
// inch on every side, no mirroring).
//
// Calls come from the UI thread and the converter's one thread; the provider is installed
// before any score is made and stays installed until shutdown.

namespace kvt {

struct TPageMargins;

class TPageSetupDefaults {
public:
  virtual ~TPageSetupDefaults() = default;
  // The margins in inches and the Mirror flag for a new score.
  virtual TPageMargins GetDefaultMargins() = 0;
};

// The installed provider; the null provider when none is installed.
TPageSetupDefaults& GetPageSetupDefaults();
// Installs a provider (not owned; it must outlive its installation). Null restores the null
// provider.
void InstallPageSetupDefaults(TPageSetupDefaults* provider);

}  // namespace kvt
