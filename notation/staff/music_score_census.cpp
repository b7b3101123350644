// What a score uses: missing fonts, code pages of its fonts, user-object types; and stripping
// a score down to its staff set-up.

#include <algorithm>
#include <string>

#include "notation/items/item_cast.h"
#include "notation/items/lyric_text.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/items/notated_item.h"
#include "notation/staff/staff_lyrics.h"
#include "notation/items/user_object.h"
#include "notation/services/user_object_host.h"
#include "utils/log_font.h"
#include "utils/font_description.h"
#include "utils/string_list.h"

namespace kvt {

namespace {

// The character set the music font is installed under (SYMBOL_CHARSET).
constexpr int kSymbolCharSet = 2;
// Roles 0 and 1 are the music font at full and at two-thirds size; text fonts follow.
constexpr int kFirstTextFontRole = 2;

bool IsHiddenTypeName(const std::string& name) { return !name.empty() && name[0] == '.'; }

// Calls visit(typeName) for every user object of the score, staves from the last to the first.
template <typename Visit>
void ForEachUserObjectType(const TMusicScore& score, Visit visit) {
  for (int s = score.GetLastIndex(); s >= 0; --s) {
    const TMusicStaff* staff = score.GetStaff(s);
    for (const auto& item : staff->GetItems()) {
      const auto* object = ItemAs<TKVTUserObject>(item.get());
      if (!object) continue;
      const std::string& name = object->GetTypeName();
      if (!IsHiddenTypeName(name)) visit(name);
    }
  }
}

bool IsContentItem(int type) {
  return type == kItemNote || type == kItemRest || type == kItemChord || type == kItemRestChord ||
         type == kItemMultiBarRest;
}

}  // namespace

void TMusicScore::CollectMissingFonts(TKVStringList& list, const TServices& services) const {
  list.Clear();
  IFontCatalog& catalog = FontCatalogOf(services);
  const char* musicFace = fonts->GetMusicFontName();
  if (!TFontSpec::IsFaceInstalled(musicFace, kSymbolCharSet, catalog)) list.AddUnique(musicFace);
  for (int i = 0; i < kScoreTextFontCount; ++i) {
    const TFontSpec* font = fonts->GetTextFont(i);
    if (!font->IsInstalled(catalog)) list.AddUnique(font->Face());
  }
}

int TMusicScore::CodePageOfFont(int index, const TMusicFontsData* fonts, int fallback) {
  if (index == 0 || index == 1) return 1252;
  if (!fonts) return fallback;
  // The index comes from files: only the twelve text fonts are looked at.
  const TFontSpec* font = fonts->GetTextFont(index - kFirstTextFontRole);
  if (!font) return fallback;
  const int codePage = CodePageOfCharSet(font->CharSet(), -1);
  return codePage == -1 ? fallback : codePage;
}

int TMusicScore::StripContent() {
  for (const auto& staff : staves) {
    if (staff->GetItemCount() <= 2) continue;
    const int last = staff->GetLastIndex() - 1;
    for (int i = 1; i <= last; ++i) {
      if (IsContentItem(staff->GetItem(i)->GetType())) {
        staff->DeleteItems(i, last);
        break;
      }
    }
    staff->ClearLyrics();
  }
  return GetStaffCount();
}

int TMusicScore::CountMissingUserObjectTypes(const TServices& services) const {
  TUserObjectHost* host = services.userObjectHost;
  int missing = 0;
  ForEachUserObjectType(*this, [&](const std::string& name) {
    if (!host || !host->IsUserObjectTypeLoaded(name.c_str())) ++missing;
  });
  return missing;
}

int TMusicScore::CollectUserObjectTypes(std::vector<std::string>& names, std::vector<int>* counts,
                                        int capacity, bool includeLoaded,
                                        const TServices& services) const {
  names.clear();
  if (counts) counts->clear();
  const int room = capacity - 1;
  if (room <= 0) return 0;
  if (includeLoaded && services.userObjectHost) {
    names = services.userObjectHost->ListLoadedUserObjectTypes(capacity);
    // A host that lists more than asked never makes the list pass its room.
    if (static_cast<int>(names.size()) > room) names.resize(static_cast<size_t>(room));
    if (counts) counts->assign(names.size(), 0);
  }
  bool full = false;
  ForEachUserObjectType(*this, [&](const std::string& name) {
    if (full) return;
    auto it = std::find(names.begin(), names.end(), name);
    if (it == names.end()) {
      if (static_cast<int>(names.size()) >= room) {
        full = true;
        return;
      }
      names.push_back(name);
      if (counts) counts->push_back(0);
      it = names.end() - 1;
    }
    if (counts) ++(*counts)[static_cast<size_t>(it - names.begin())];
  });
  return full ? room : static_cast<int>(names.size());
}

}  // namespace kvt
