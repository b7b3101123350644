#include "notation/staff/music_score.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "notation/items/bar_line_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/key_data.h"
#include "notation/items/lyric_text.h"
#include "notation/items/multi_measure_rest.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_staff.h"
#include "notation/services/page_setup_defaults.h"
#include "notation/items/rest_note.h"
#include "notation/staff/staff_lyrics.h"
#include "notation/items/user_object.h"
#include "notation/services/user_object_host.h"
#include "utils/precondition.h"
#include "utils/string_list.h"
#include "utils/variant.h"

namespace kvt {
namespace {

std::string FailedExpression(const std::function<void()>& action) {
  try {
    action();
  } catch (const TPreconditionError& e) {
    return e.Expression();
  }
  return "no exception";
}

std::unique_ptr<TMusicStaff> NamedStaff(const char16_t* name) {
  auto staff = std::make_unique<TMusicStaff>();
  staff->SetName(name);
  return staff;
}

std::u16string NameOf(const TMusicScore& score, int i) { return score.GetStaff(i)->GetName(); }

TEST(MusicScoreTest, Defaults) {
  const TMusicScore score;
  EXPECT_EQ(score.GetStaffCount(), 0);
  EXPECT_EQ(score.GetLastIndex(), -1);
  EXPECT_EQ(score.GetStaff(0), nullptr);
  EXPECT_EQ(score.GetActiveStaff(), -1);
  EXPECT_EQ(score.GetCaretIndex(), -1);
  EXPECT_EQ(score.GetSelectIndex(), -1);
  EXPECT_EQ(score.GetCaretPos(), 0);
  EXPECT_EQ(score.GetZoom(), 8);
  EXPECT_EQ(score.GetStartingBar(), 1);
  EXPECT_EQ(score.GetBarNumbers(), 0);
  EXPECT_EQ(score.GetOptionBitsA(), 0xD4);  // compressed, title page, padding, layering
  EXPECT_EQ(score.GetOptionBitsB(), 0x01);  // justify vertically
  EXPECT_TRUE(score.GetCompressed());
  EXPECT_TRUE(score.GetTitlePage());
  EXPECT_TRUE(score.GetDurationPadding());
  EXPECT_TRUE(score.GetAllowLayering());
  EXPECT_TRUE(score.GetJustifyVertically());
  EXPECT_FALSE(score.IsExperimental());
  EXPECT_FALSE(score.IsOldFormatVersion());
  EXPECT_TRUE(score.IsStaffIncluded(0));
  EXPECT_FALSE(score.IsStaffIncluded(1));
  EXPECT_NE(score.GetDate().GetPacked(), 0);
  for (int f = 0; f < kSongInfoFieldCount; ++f) EXPECT_EQ(score.GetSongInfoText(f)[0], u'\0');
  EXPECT_FLOAT_EQ(score.GetMargins().left, 0.5f);  // the null page-setup defaults
  EXPECT_FALSE(score.GetMargins().mirror);
  EXPECT_STREQ(score.GetFonts().GetMusicFontName(), "KVT2STDA");
}

TEST(MusicScoreTest, SettingsGiveTheSongInformation) {
  TScoreSongInfo info;
  info.Set(kSongTitle, u"Air");
  info.Set(kSongComments, std::u16string(2000, u'c'));  // cut to 1023 units
  const TMusicScore score(&info);
  EXPECT_EQ(std::u16string(score.GetSongInfoText(kSongTitle)), u"Air");
  EXPECT_EQ(std::u16string(score.GetSongInfoText(kSongComments)).size(), 1023u);
  EXPECT_EQ(std::u16string(score.GetSongInfoText(99)), u"");
}

TEST(MusicScoreTest, SongInfoFieldsAreBounded) {
  TMusicScore score;
  struct Case {
    int field;
    size_t kept;
  } cases[] = {{kSongTitle, 63}, {kSongAuthor, 47}, {kSongLyricist, 47},
               {kSongCopyright1, 95}, {kSongCopyright2, 95}, {kSongComments, 1023}};
  for (const Case& c : cases) {
    EXPECT_TRUE(score.SetSongInfoText(c.field, std::u16string(3000, u'x')));
    EXPECT_EQ(std::u16string(score.GetSongInfoText(c.field)).size(), c.kept) << c.field;
  }
  EXPECT_FALSE(score.SetSongInfoText(-1, u"x"));
  EXPECT_FALSE(score.SetSongInfoText(6, u"x"));
}

class PageDefaults : public TPageSetupDefaults {
public:
  TPageMargins GetDefaultMargins() override { return {1.0f, 0.75f, 0.25f, 2.0f, true}; }
};

TEST(MusicScoreTest, ResetTakesThePageSetupDefaults) {
  PageDefaults defaults;
  TServices services;
  services.pageSetupDefaults = &defaults;
  TMusicScore score(nullptr, services);
  EXPECT_FLOAT_EQ(score.GetMargins().top, 1.0f);
  EXPECT_FLOAT_EQ(score.GetMargins().left, 0.75f);
  EXPECT_FLOAT_EQ(score.GetMargins().right, 0.25f);
  EXPECT_FLOAT_EQ(score.GetMargins().bottom, 2.0f);
  EXPECT_TRUE(score.GetMargins().mirror);

  score.SetZoom(20);
  score.SetStartingBar(7);
  score.SetTitlePage(false);
  score.SetSongInfoText(kSongAuthor, u"me");
  score.Reset(TServices());
  EXPECT_EQ(score.GetZoom(), 8);
  EXPECT_EQ(score.GetStartingBar(), 1);
  EXPECT_TRUE(score.GetTitlePage());
  EXPECT_EQ(score.GetSongInfoText(kSongAuthor)[0], u'\0');
  EXPECT_FLOAT_EQ(score.GetMargins().top, 0.5f);  // the null defaults again
}

TEST(MusicScoreTest, SelectionFromTheEditorState) {
  struct Case {
    int caret, select;
    bool selection;
    int end;
  } cases[] = {{-1, -1, false, -1}, {3, 3, false, 3}, {3, 7, true, 7},
               {7, 3, true, 3},     {0, 4, false, 0}, {4, 0, false, 4}};
  TMusicScore score;
  for (const Case& c : cases) {
    score.SetEditorState(0, c.caret, c.select, 0);
    EXPECT_EQ(score.HasSelection(), c.selection) << c.caret << "," << c.select;
    EXPECT_EQ(score.GetSelectionEnd(), c.end) << c.caret << "," << c.select;
  }
}

TEST(MusicScoreTest, StaffLimit) {
  TMusicScore score;
  for (int i = 0; i < TMusicScore::MaxScoreStaffs - 1; ++i) score.AddStaff(std::make_unique<TMusicStaff>());
  ASSERT_EQ(score.GetStaffCount(), 254);
  score.AddStaff(std::make_unique<TMusicStaff>());  // 254 accept one more
  ASSERT_EQ(score.GetStaffCount(), 255);
  EXPECT_TRUE(score.IsStaffIncluded(254));

  const std::string expr = "GetLastIndex() < (MaxScoreStaffs-1)";
  EXPECT_EQ(FailedExpression([&] { score.AddStaff(std::make_unique<TMusicStaff>()); }), expr);
  EXPECT_EQ(FailedExpression([&] { score.InsertStaff(std::make_unique<TMusicStaff>(), 0); }), expr);

  std::unique_ptr<TMusicStaff> extra = std::make_unique<TMusicStaff>();
  EXPECT_FALSE(score.TryAddStaff(extra));
  EXPECT_FALSE(score.TryInsertStaff(extra, 3));
  ASSERT_NE(extra, nullptr);  // still the caller's
  EXPECT_EQ(score.GetStaffCount(), 255);

  score.DetachStaff(0);
  EXPECT_TRUE(score.TryInsertStaff(extra, 0));
  EXPECT_EQ(extra, nullptr);
  EXPECT_EQ(score.GetStaffCount(), 255);
}

TEST(MusicScoreTest, InsertDetachAndIndexOf) {
  TMusicScore score;
  score.AddStaff(NamedStaff(u"a"));
  score.AddStaff(NamedStaff(u"b"));
  score.SetStaffIncluded(1, false);
  score.InsertStaff(NamedStaff(u"c"), 1);    // a c b
  score.InsertStaff(NamedStaff(u"d"), 99);   // past the end: appended
  score.InsertStaff(NamedStaff(u"e"), -4);   // before the first
  const std::u16string order[] = {u"e", u"a", u"c", u"b", u"d"};
  const bool included[] = {true, true, true, false, true};
  ASSERT_EQ(score.GetStaffCount(), 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(NameOf(score, i), order[i]) << i;
    EXPECT_EQ(score.IsStaffIncluded(i), included[i]) << i;
  }
  TMusicStaff* c = score.GetStaff(2);
  EXPECT_EQ(score.IndexOfStaff(c), 2);
  EXPECT_EQ(score.IndexOfStaff(nullptr), -1);
  TMusicStaff stranger;
  EXPECT_EQ(score.IndexOfStaff(&stranger), -1);

  std::unique_ptr<TMusicStaff> detached = score.DetachStaff(2);
  EXPECT_EQ(detached.get(), c);
  EXPECT_EQ(score.IndexOfStaff(c), -1);
  EXPECT_FALSE(score.IsStaffIncluded(2));  // b's flag moved down with it
  EXPECT_EQ(FailedExpression([&] { score.DetachStaff(-1); }), "atIndex >= 0");
  EXPECT_EQ(FailedExpression([&] { score.DetachStaff(4); }), "atIndex <= GetLastIndex()");
}

TEST(MusicScoreTest, MakeStaffNameUnique) {
  struct Case {
    std::vector<std::u16string> others;
    std::u16string name;
    std::u16string want;
  } cases[] = {
      {{u"Staff"}, u"Staff", u"Staff-2"},
      {{u"Staff", u"Staff-2"}, u"Staff", u"Staff-3"},
      {{u"Piano"}, u"Staff", u"Staff"},
      {{}, u"", u"Staff"},
      {{u"Staff"}, u"", u"Staff-2"},
      {{u"Staff", u"Staff-2", u"Staff-3", u"Staff-4", u"Staff-5", u"Staff-6", u"Staff-7", u"Staff-8",
        u"Staff-9"},
       u"Staff",
       u"Staff-10"},
      // The base gives way to the suffix within 31 units.
      {{std::u16string(31, u'v')}, std::u16string(31, u'v'), std::u16string(29, u'v') + u"-2"},
  };
  for (const Case& c : cases) {
    TMusicScore score;
    for (const std::u16string& other : c.others) score.AddStaff(NamedStaff(other.c_str()));
    score.AddStaff(NamedStaff(c.name.c_str()));
    TMusicStaff& staff = *score.GetStaff(score.GetLastIndex());
    score.MakeStaffNameUnique(staff);
    EXPECT_EQ(std::u16string(staff.GetName()), c.want) << c.others.size();
  }
  // The first of two equal names also moves: the other staff carries the name.
  TMusicScore score;
  score.AddStaff(NamedStaff(u"Staff"));
  score.AddStaff(NamedStaff(u"Staff"));
  score.MakeStaffNameUnique(*score.GetStaff(0));
  EXPECT_EQ(NameOf(score, 0), u"Staff-2");
  // A staff outside the score is compared with every staff.
  TMusicStaff outside;
  score.MakeStaffNameUnique(outside);
  EXPECT_EQ(std::u16string(outside.GetName()), u"Staff-3");
}

TEST(MusicScoreTest, NamesAreUniqueWithManyStaves) {
  TMusicScore score;
  for (int i = 0; i < 120; ++i) {
    score.AddStaff(NamedStaff(u"Staff"));
    score.MakeStaffNameUnique(*score.GetStaff(i));
  }
  std::set<std::u16string> names;
  for (int i = 0; i < score.GetStaffCount(); ++i) names.insert(NameOf(score, i));
  EXPECT_EQ(names.size(), 120u);
  EXPECT_EQ(NameOf(score, 99), u"Staff-100");
}

TEST(MusicScoreTest, FindByNameAndNewNames) {
  TMusicScore score;
  EXPECT_EQ(score.MakeNewStaffName(), u"Staff-1");
  score.AddStaff(NamedStaff(u"Staff-1"));
  score.AddStaff(NamedStaff(u"Oboe"));
  score.AddStaff(NamedStaff(u"Staff-1"));
  EXPECT_EQ(score.FindStaffByName(u"Staff-1"), 0);
  EXPECT_EQ(score.FindStaffByNameFromEnd(u"Staff-1"), 2);
  EXPECT_EQ(score.FindStaffByName(u"oboe"), -1);  // exact comparison
  EXPECT_EQ(score.FindStaffByName(u"Nothing"), -1);
  EXPECT_EQ(score.MakeNewStaffName(), u"Staff-2");
}

TEST(MusicScoreTest, NextFreeChannel) {
  struct Case {
    std::vector<int> channels;  // of staves on device 0, the last decides the start
    int device;
    int want;
  } cases[] = {
      {{}, 0, 1},
      {{0}, 0, 1},
      {{0, 1, 2}, 0, 3},
      {{3, 4, 0}, 0, 1},
      {{15}, 0, 0},                // wraps
      {{0, 1, 2}, 1, 3},           // other device: nothing in use there
      {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, 0, 0},  // gives up after 16 tries
  };
  for (const Case& c : cases) {
    TMusicScore score;
    for (int ch : c.channels) {
      auto staff = std::make_unique<TMusicStaff>();
      staff->SetChannel(ch);
      score.AddStaff(std::move(staff));
    }
    EXPECT_EQ(score.GetNextFreeChannel(c.device), c.want) << c.channels.size();
  }
}

TEST(MusicScoreTest, DevicesAndChannelCounts) {
  TMusicScore score;
  EXPECT_EQ(score.GetMaxDevice(), 0);
  EXPECT_EQ(score.GetLastStaffDevice(), 0);
  for (int device : {2, 5, 1}) {
    auto staff = std::make_unique<TMusicStaff>();
    staff->SetDevice(device);
    staff->SetChannel(4);
    score.AddStaff(std::move(staff));
  }
  EXPECT_EQ(score.GetMaxDevice(), 5);
  EXPECT_EQ(score.GetLastStaffDevice(), 1);
  EXPECT_EQ(score.CountStaffsOnChannel(5, 4), 1);
  EXPECT_EQ(score.CountStaffsOnChannel(5, 3), 0);
}

TEST(MusicScoreTest, StaffFlagsGroupsAndSelections) {
  TMusicScore score;
  const char16_t* groups[] = {u"Strings", u"Winds", u"Strings", u"strings", u"Strings"};
  for (const char16_t* g : groups) {
    auto staff = std::make_unique<TMusicStaff>();
    staff->SetGroup(g);
    score.AddStaff(std::move(staff));
  }
  TKVBoolArray flags(TMusicScore::MaxScoreStaffs);
  flags.Set(1, true);
  flags.Set(4, true);
  score.SetStaffFlags(kStaffFlagMuted, flags);
  EXPECT_TRUE(score.GetStaff(1)->IsMuted());
  EXPECT_FALSE(score.GetStaff(2)->IsMuted());
  score.SetStaffFlags(kStaffFlagLayerWithNext, flags);
  TKVBoolArray read(TMusicScore::MaxScoreStaffs);
  score.GetStaffFlags(kStaffFlagLayerWithNext, read);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(read.Get(i), flags.Get(i)) << i;

  TKVBoolArray marks(TMusicScore::MaxScoreStaffs);
  EXPECT_EQ(score.FindStaffsByGroup(u"Strings", marks), 5);
  EXPECT_EQ(marks.Count(true), 3);
  EXPECT_FALSE(marks.Get(3));  // exact comparison

  struct Case {
    int limit, capacity;
    std::vector<int> want;
  } cases[] = {
      {100, 64, {0, 2, 4}},
      {1, 64, {0, 2}},   // stops once the list holds more than the limit
      {100, 1, {0}},     // or is full
      {100, 0, {}},
  };
  for (const Case& c : cases) {
    std::vector<int> list = {42};
    EXPECT_EQ(score.SelectStaffsByGroup(list, u"Strings", c.limit, c.capacity), !c.want.empty());
    EXPECT_EQ(list, c.want) << c.limit << " " << c.capacity;
  }
  std::vector<int> list;
  EXPECT_FALSE(score.SelectStaffsByGroup(list, u"Brass", 100, 64));
  EXPECT_TRUE(score.SelectMarkedStaffs(list, flags, 100, 64));
  EXPECT_EQ(list, (std::vector<int>{1, 4}));
}

TEST(MusicScoreTest, ExperimentalBitFollowsTheStaves) {
  TMusicScore score;
  score.AddStaff(std::make_unique<TMusicStaff>());
  score.SetExperimental(true);
  EXPECT_TRUE(score.IsExperimental());
  score.SetExperimental(false);
  EXPECT_FALSE(score.IsExperimental());
  score.GetStaff(0)->SetMultiPartDotPlacement(true);
  EXPECT_TRUE(score.UsesExperimentalFeatures());
  score.SetExperimental(false);
  EXPECT_TRUE(score.IsExperimental());  // still in use
}

TEST(MusicScoreTest, OptionSetters) {
  TMusicScore score;
  struct Case {
    std::function<void(bool)> set;
    std::function<bool()> get;
  } cases[] = {
      {[&](bool on) { score.SetAllowLayering(on); }, [&] { return score.GetAllowLayering(); }},
      {[&](bool on) { score.SetOldFormatVersion(on); }, [&] { return score.IsOldFormatVersion(); }},
      {[&](bool on) { score.SetCompressed(on); }, [&] { return score.GetCompressed(); }},
      {[&](bool on) { score.SetTitlePage(on); }, [&] { return score.GetTitlePage(); }},
      {[&](bool on) { score.SetExtendLastSystem(on); }, [&] { return score.GetExtendLastSystem(); }},
      {[&](bool on) { score.SetDurationPadding(on); }, [&] { return score.GetDurationPadding(); }},
      {[&](bool on) { score.SetJustifyVertically(on); }, [&] { return score.GetJustifyVertically(); }},
      {[&](bool on) { score.SetPrintSystemSepMark(on); }, [&] { return score.GetPrintSystemSepMark(); }},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const uint16_t before = static_cast<uint16_t>(score.GetOptionBitsA() | score.GetOptionBitsB() << 8);
    const bool was = cases[i].get();
    cases[i].set(!was);
    EXPECT_EQ(cases[i].get(), !was) << i;
    const uint16_t after = static_cast<uint16_t>(score.GetOptionBitsA() | score.GetOptionBitsB() << 8);
    EXPECT_EQ(__builtin_popcount(before ^ after), 1) << i;  // one bit, no other
    cases[i].set(was);
  }
}

TEST(MusicScoreTest, Properties) {
  TMusicScore score;
  score.SetSongInfoText(kSongLyricist, u"Words");
  TPageMargins m;
  m.left = 1.0f;
  m.top = 0.5f;
  m.right = 2.0f;
  m.bottom = 0.0f;
  m.mirror = true;
  score.SetMargins(m);
  score.SetPageNumbers(3);
  score.SetStartingBar(9);
  score.SetBarNumbers(1);
  score.SetStaffLabels(0);
  score.SetExtendLastSystem(true);

  TKVVariant v;
  ASSERT_TRUE(score.GetSongInfoProperty(kSongLyricist, v));
  EXPECT_EQ(std::u16string(v.GetWideString()), u"Words");

  struct RealCase {
    int index;
    float want;
  } reals[] = {{0, 2.54f}, {1, 1.27f}, {2, 5.08f}, {3, 0.0f}};
  for (const RealCase& c : reals) {
    ASSERT_TRUE(score.GetMarginProperty(c.index, v)) << c.index;
    EXPECT_EQ(v.GetType(), TKVVariant::kReal);
    EXPECT_FLOAT_EQ(static_cast<float>(v.GetReal()), c.want) << c.index;
  }
  ASSERT_TRUE(score.GetMarginProperty(4, v));
  EXPECT_TRUE(v.IsTrue());

  struct OptionCase {
    int index;
    TKVVariant::Type type;
    int value;
  } options[] = {{0, TKVVariant::kBool, 1}, {1, TKVVariant::kBool, 1}, {2, TKVVariant::kBool, 0},
                 {3, TKVVariant::kBool, 1}, {4, TKVVariant::kBool, 1}, {5, TKVVariant::kInt, 3},
                 {8, TKVVariant::kInt, 9},  {9, TKVVariant::kBool, 1}};
  for (const OptionCase& c : options) {
    ASSERT_TRUE(score.GetPageOptionProperty(c.index, v)) << c.index;
    EXPECT_EQ(v.GetType(), c.type) << c.index;
    EXPECT_EQ(v.GetIntValue(), c.value) << c.index;
  }
  for (int index : {6, 7}) {
    ASSERT_TRUE(score.GetPageOptionProperty(index, v));
    ASSERT_NE(v.GetString(), nullptr);
    EXPECT_STRNE(v.GetString(), "***") << index;
  }
  score.SetBarNumbers(999);  // outside its list
  ASSERT_TRUE(score.GetPageOptionProperty(7, v));
  EXPECT_STREQ(v.GetString(), "***");

  v.SetInt(5);
  EXPECT_FALSE(score.GetSongInfoProperty(6, v));
  EXPECT_FALSE(score.GetSongInfoProperty(-1, v));
  EXPECT_FALSE(score.GetPageOptionProperty(10, v));
  EXPECT_FALSE(score.GetMarginProperty(5, v));
  EXPECT_EQ(v.GetIntValue(), 5);
}

TEST(MusicScoreCodePageTest, ByFontRole) {
  TMusicFontsData fonts;
  fonts.GetTextFont(kFontStaffBold)->Set("Arial", 1, 8, 204);      // role 3
  fonts.GetTextFont(kFontStaffLyric)->Set("Arial", 0, 8, 128);     // role 4
  fonts.GetTextFont(kFontUser1 + 5)->Set("Arial", 0, 8, 238);      // role 13, the last
  fonts.GetTextFont(kFontPageText)->Set("Arial", 0, 8, 77);        // role 6: unknown set
  fonts.GetTextFont(kFontStaffItalic)->Set("Arial", 0, 8, 2);      // role 2
  struct Case {
    int index;
    const TMusicFontsData* fonts;
    int want;
  } cases[] = {
      {0, &fonts, 1252},  {1, &fonts, 1252},  {2, &fonts, 1252}, {3, &fonts, 1251},
      {4, &fonts, 932},   {13, &fonts, 1250}, {6, &fonts, -7},   {5, &fonts, -7},  // charset 0
      {14, &fonts, -7},   {-1, &fonts, -7},   {100000, &fonts, -7},                // outside
      {3, nullptr, -7},   {0, nullptr, 1252},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TMusicScore::CodePageOfFont(c.index, c.fonts, -7), c.want) << c.index;
  }
  const int sets[][2] = {{129, 949}, {134, 936}, {136, 950}, {161, 1253}, {162, 1254}, {163, 1258},
                         {177, 1255}, {178, 1256}, {186, 1257}, {222, 874}};
  for (const auto& s : sets) {
    fonts.GetTextFont(0)->Set("Arial", 0, 8, s[0]);
    EXPECT_EQ(TMusicScore::CodePageOfFont(2, &fonts, -7), s[1]) << s[0];
  }
}

TEST(MusicScoreTest, StripContentKeepsTheSetUp) {
  TMusicScore score;
  auto staff = std::make_unique<TMusicStaff>();
  staff->InsertItem(std::make_unique<TClefData>(), 1);
  staff->InsertItem(std::make_unique<TKeyData>(), 2);
  staff->InsertItem(std::make_unique<TMusicNote>(0, kDurQuarter, 0, kAccNone), 3);
  staff->InsertItem(std::make_unique<TBarLineData>(), 4);
  staff->InsertItem(std::make_unique<TRestNote>(kDurHalf, 0), 5);
  auto line = std::make_unique<TLyricText>();
  line->ParseLine(u"la", false, true);
  staff->MakeLyrics().Add(std::move(line));
  score.AddStaff(std::move(staff));

  auto setupOnly = std::make_unique<TMusicStaff>();
  setupOnly->InsertItem(std::make_unique<TClefData>(), 1);
  score.AddStaff(std::move(setupOnly));
  auto rests = std::make_unique<TMusicStaff>();
  rests->InsertItem(std::make_unique<TMultiMeasureRest>(), 1);
  score.AddStaff(std::move(rests));
  score.AddStaff(std::make_unique<TMusicStaff>());

  EXPECT_EQ(score.StripContent(), 4);
  const TMusicStaff& first = *score.GetStaff(0);
  ASSERT_EQ(first.GetItemCount(), 4);
  EXPECT_EQ(first.GetItem(1)->GetType(), kItemClef);
  EXPECT_EQ(first.GetItem(2)->GetType(), kItemKey);
  EXPECT_EQ(first.GetItem(3)->GetType(), kItemBarLine);
  EXPECT_TRUE(first.GetLyrics()->GetLine(0)->IsEmpty());
  EXPECT_EQ(score.GetStaff(1)->GetItemCount(), 3);
  EXPECT_EQ(score.GetStaff(2)->GetItemCount(), 2);
  EXPECT_EQ(score.GetStaff(3)->GetItemCount(), 2);
}

class FakeCatalog : public IFontCatalog {
public:
  bool IsFaceInstalled(const char* face, int) override {
    return std::strcmp(face, "Times New Roman") == 0 || std::strcmp(face, "KVT2STDA") == 0;
  }
};

TEST(MusicScoreTest, MissingFonts) {
  TMusicScore score;
  score.GetFonts().GetTextFont(kFontPageText)->SetFace("Gone Sans");
  score.GetFonts().GetTextFont(kFontUser1)->SetFace("Gone Sans");
  TKVStringList list(16);
  list.AddUnique("stale");

  score.CollectMissingFonts(list, TServices());  // the null catalog: nothing is installed
  EXPECT_EQ(list.Join('|'), "KVT2STDA|Times New Roman|Gone Sans");

  FakeCatalog catalog;
  TServices services;
  services.fontCatalog = &catalog;
  score.CollectMissingFonts(list, services);
  EXPECT_EQ(list.Join('|'), "Gone Sans");
  score.GetFonts().SetMusicFontFace("Other Music");
  score.CollectMissingFonts(list, services);
  EXPECT_EQ(list.Join('|'), "Other Music|Gone Sans");
}

class FakeHost : public TUserObjectHost {
public:
  bool IsUserObjectTypeLoaded(const char* typeName) override { return std::string(typeName) == "Loaded"; }
  std::vector<std::string> ListLoadedUserObjectTypes(int capacity) override {
    std::vector<std::string> names = {"Loaded", "Spare"};
    if (static_cast<int>(names.size()) > capacity - 1) names.resize(std::max(capacity - 1, 0));
    return names;
  }
  void PlayUserObject(TSimpleNtnIdx&, TStaffContextState&, TMidiFileBuf*) override {}
  void RunUserObjectAudit(TSimpleNtnIdx&) override {}
  void SpinUserObject(TSimpleNtnIdx&, int) override {}
  void TransposeUserObject(TSimpleNtnIdx&, const TStaffContextState&, int, int, bool) override {}
};

class UserObjectCensusTest : public ::testing::Test {
protected:
  void SetUp() override {
    // Staff 0: Loaded, Alpha, .hidden; staff 1: Beta, Alpha.
    auto first = std::make_unique<TMusicStaff>();
    for (const char* type : {"Loaded", "Alpha", ".hidden"})
      first->InsertItem(std::make_unique<TKVTUserObject>(type), first->GetLastIndex());
    auto second = std::make_unique<TMusicStaff>();
    for (const char* type : {"Beta", "Alpha"})
      second->InsertItem(std::make_unique<TKVTUserObject>(type), second->GetLastIndex());
    score.AddStaff(std::move(first));
    score.AddStaff(std::move(second));
    withHost.userObjectHost = &host;
  }

  TMusicScore score;
  FakeHost host;
  TServices withHost;
  const TServices none;
};

TEST_F(UserObjectCensusTest, CountMissingTypes) {
  EXPECT_EQ(score.CountMissingUserObjectTypes(none), 4);  // no host: every one but ".hidden"
  EXPECT_EQ(score.CountMissingUserObjectTypes(withHost), 3);
}

TEST_F(UserObjectCensusTest, CollectTypes) {
  struct Case {
    bool withHost;
    bool includeLoaded;
    int capacity;
    std::vector<std::string> names;
    std::vector<int> counts;
    int result;
  } cases[] = {
      // Staves from the last to the first.
      {false, false, 10, {"Beta", "Alpha", "Loaded"}, {1, 2, 1}, 3},
      {false, true, 10, {"Beta", "Alpha", "Loaded"}, {1, 2, 1}, 3},  // no host: nothing loaded
      {true, true, 10, {"Loaded", "Spare", "Beta", "Alpha"}, {1, 0, 1, 2}, 4},
      {true, false, 10, {"Beta", "Alpha", "Loaded"}, {1, 2, 1}, 3},
      {false, false, 3, {"Beta", "Alpha"}, {1, 1}, 2},  // full at "Loaded": stops at once
      {true, true, 3, {"Loaded", "Spare"}, {0, 0}, 2},
      {false, false, 1, {}, {}, 0},
      {false, false, 0, {}, {}, 0},
  };
  for (const Case& c : cases) {
    const TServices& services = c.withHost ? withHost : none;
    std::vector<std::string> names = {"old"};
    std::vector<int> counts = {9};
    EXPECT_EQ(score.CollectUserObjectTypes(names, &counts, c.capacity, c.includeLoaded, services),
              c.result);
    EXPECT_EQ(names, c.names) << c.capacity << c.includeLoaded << c.withHost;
    EXPECT_EQ(counts, c.counts) << c.capacity << c.includeLoaded << c.withHost;
    std::vector<std::string> namesOnly;
    EXPECT_EQ(score.CollectUserObjectTypes(namesOnly, nullptr, c.capacity, c.includeLoaded, services),
              c.result);
    EXPECT_EQ(namesOnly, c.names);
  }
}

TEST(MusicFontsDataTest, Defaults) {
  const TMusicFontsData fonts;
  EXPECT_STREQ(fonts.GetMusicFontFace(), "");
  EXPECT_STREQ(fonts.GetMusicFontName(), "KVT2STDA");
  EXPECT_FLOAT_EQ(fonts.GetBaseSize(), 16.0f);
  struct Case {
    int role;
    int style;
    float size;
  } cases[] = {{kFontStaffItalic, 3, 10.0f}, {kFontStaffBold, 1, 8.0f}, {kFontStaffLyric, 0, 7.2f},
               {kFontPageTitleText, 1, 24.0f}, {kFontPageText, 0, 12.0f}, {kFontPageSmallText, 0, 8.0f},
               {kFontUser1, 0, 8.0f}, {kFontUser1 + 5, 0, 8.0f}};
  for (const Case& c : cases) {
    const TFontSpec* font = fonts.GetTextFont(c.role);
    ASSERT_NE(font, nullptr);
    EXPECT_STREQ(font->Face(), "Times New Roman");
    EXPECT_EQ(font->Style(), c.style) << c.role;
    EXPECT_FLOAT_EQ(font->Size(), c.size) << c.role;
    EXPECT_EQ(font->CharSet(), 0);
  }
  EXPECT_EQ(fonts.GetTextFont(-1), nullptr);
  EXPECT_EQ(fonts.GetTextFont(kScoreTextFontCount), nullptr);
}

TEST(MusicFontsDataTest, ScaledDefaultsAndBounds) {
  TMusicFontsData fonts;
  fonts.SetDefaults(20.0f);
  EXPECT_FLOAT_EQ(fonts.GetTextFont(kFontStaffItalic)->Size(), 12.5f);
  EXPECT_FLOAT_EQ(fonts.GetTextFont(kFontStaffLyric)->Size(), 9.0f);
  EXPECT_FLOAT_EQ(fonts.GetTextFont(kFontStaffBold)->Size(), 10.0f);
  fonts.SetBaseSize(0.5f);
  EXPECT_FLOAT_EQ(fonts.GetBaseSize(), kMinFontPoints);
  fonts.SetBaseSize(12.3456f);
  EXPECT_FLOAT_EQ(fonts.GetBaseSize(), 12.35f);
  fonts.SetMusicFontFace(std::string(40, 'm').c_str());
  EXPECT_EQ(std::strlen(fonts.GetMusicFontFace()), 31u);
  fonts.SetMusicFontFace(nullptr);
  EXPECT_STREQ(fonts.GetMusicFontName(), "KVT2STDA");
  TMusicFontsData a, b;
  EXPECT_TRUE(a == b);
  b.GetTextFont(kFontPageTitleText)->SetBold(false);
  EXPECT_FALSE(a == b);
}

}  // namespace
}  // namespace kvt
