#include "draw/staff_color_handles.h"

#include "tests/utils/ini_test_env.h"
#include "utils/registry_key.h"
#include "utils/sys_info.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kvt {
namespace {

using testing::ReadWholeFile;
using testing::TScopedEnv;
using testing::WriteWholeFile;

TEST(StaffColorTextTest, ParsesTheRgbForm) {
  struct Case {
    const char* text;
    std::optional<TColorRef> color;
  } cases[] = {
      {"RGB(255,208,64)", 0x0040D0FF},
      {"RGB(1,2,3)", MakeColorRef(1, 2, 3)},
      {"RGB( 1, 2, 3)", MakeColorRef(1, 2, 3)},     // blanks before a number
      {"RGB(1,2,3", MakeColorRef(1, 2, 3)},         // the closing bracket is not looked at
      {"RGB(1,2,3) trailing", MakeColorRef(1, 2, 3)},
      {"RGB(256,-1,511)", MakeColorRef(0, 255, 255)},  // masked to 8 bits
      {"RGB(+7,0,0)", MakeColorRef(7, 0, 0)},
      {"RGB(1,2)", std::nullopt},                   // two numbers
      {"RGB(1 ,2,3)", std::nullopt},                // blank before a comma
      {"rgb(1,2,3)", std::nullopt},
      {" RGB(1,2,3)", std::nullopt},
      {"RGB(a,2,3)", std::nullopt},
      {"RGB(1,2,)", std::nullopt},
      {"RGB(99999999999,0,0)", std::nullopt},       // beyond 32 bits
      {"", std::nullopt},
      {"#FF0000", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseStaffColor(c.text), c.color) << c.text;
  EXPECT_EQ(FormatStaffColor(0x0040D0FF), "RGB(255,208,64)");
}

TEST(StaffColorHandlesTest, DefaultsAndNames) {
  TStaffColorHandles colors;
  EXPECT_EQ(colors.GetColor(0), MakeColorRef(0, 0, 0));
  EXPECT_EQ(colors.GetColor(4), MakeColorRef(0, 0, 192));
  EXPECT_EQ(colors.GetColor(6), MakeColorRef(128, 128, 0));
  EXPECT_EQ(colors.GetColor(15), MakeColorRef(255, 208, 64));
  EXPECT_STREQ(TStaffColorHandles::GetColorName(0), "Printer Default");
  EXPECT_STREQ(TStaffColorHandles::GetColorName(8), "Play Highlight");
  EXPECT_STREQ(TStaffColorHandles::GetColorName(15), "Highlight 7");
  EXPECT_STREQ(TStaffColorHandles::GetColorName(16), "");
}

TEST(StaffColorHandlesTest, SetColorReportsOnlyChanges) {
  TStaffColorHandles colors;
  EXPECT_FALSE(colors.SetColor(2, MakeColorRef(255, 255, 255)));
  EXPECT_TRUE(colors.SetColor(2, MakeColorRef(1, 1, 1)));
  EXPECT_EQ(colors.GetColor(2), MakeColorRef(1, 1, 1));
  EXPECT_FALSE(colors.SetColor(16, 5));
  EXPECT_FALSE(colors.SetColor(-1, 5));
  EXPECT_EQ(colors.GetColor(16), colors.GetColor(0));
  EXPECT_EQ(colors.GetColor(-1), colors.GetColor(0));
}

class StaffColorStoreTest : public ::testing::Test {
protected:
  StaffColorStoreTest() { store.SetProfileLocation("Tarlowmede Software", "Colors"); }

  TTempFolder folder;
  TScopedEnv config{"XDG_CONFIG_HOME", folder.Path().c_str()};
  TSysInfo store;
};

TEST_F(StaffColorStoreTest, SaveAndLoadRoundTripAllSixteen) {
  TStaffColorHandles saved;
  for (int i = 0; i < TStaffColorHandles::kColorCount; ++i)
    saved.SetColor(i, MakeColorRef(static_cast<uint8_t>(i * 16 + 1), static_cast<uint8_t>(255 - i),
                                   static_cast<uint8_t>(i * 7)));
  ASSERT_TRUE(saved.SaveColors(store, "StaffColors"));
  std::string text = ReadWholeFile(store.GetProfilePath());
  EXPECT_NE(text.find("[StaffColors]\nPrinter Default=RGB(1,255,0)\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Highlight 7=RGB(241,240,105)\n"), std::string::npos) << text;

  TStaffColorHandles loaded;
  loaded.LoadColors(store, "StaffColors");
  for (int i = 0; i < TStaffColorHandles::kColorCount; ++i)
    EXPECT_EQ(loaded.GetColor(i), saved.GetColor(i)) << i;
}

TEST_F(StaffColorStoreTest, BadValuesKeepTheCurrentColour) {
  WriteWholeFile(store.GetProfilePath(),
                 "[StaffColors]\n"
                 "active staff=RGB(10,20)\n"       // two numbers
                 "Inactive Staff=blue\n"
                 "Play Highlight=RGB(1,2,3)\n"
                 "Highlight 1=" + std::string(500, '9') + "\n");
  TStaffColorHandles colors;
  colors.SetColor(4, MakeColorRef(9, 9, 9));
  colors.LoadColors(store, "StaffColors");
  EXPECT_EQ(colors.GetColor(4), MakeColorRef(9, 9, 9));
  EXPECT_EQ(colors.GetColor(5), TStaffColorHandles::GetDefaultColor(5));
  EXPECT_EQ(colors.GetColor(8), MakeColorRef(1, 2, 3));
  EXPECT_EQ(colors.GetColor(9), TStaffColorHandles::GetDefaultColor(9));
}

TEST_F(StaffColorStoreTest, LoadsFromAnOpenKey) {
  TStaffColorHandles saved;
  saved.SetColor(11, MakeColorRef(3, 4, 5));
  ASSERT_TRUE(saved.SaveColors(store, "StaffColors"));
  std::unique_ptr<TKey> key = store.OpenSectionKey("StaffColors");
  ASSERT_NE(key, nullptr);
  TStaffColorHandles loaded;
  loaded.LoadColors(*key);
  EXPECT_EQ(loaded.GetColor(11), MakeColorRef(3, 4, 5));
  loaded.LoadColors(TKey());  // not open: nothing changes
  EXPECT_EQ(loaded.GetColor(11), MakeColorRef(3, 4, 5));
}

TEST_F(StaffColorStoreTest, MissingSectionKeepsEveryColour) {
  TStaffColorHandles colors;
  colors.SetColor(3, MakeColorRef(7, 7, 7));
  colors.LoadColors(store, "StaffColors");
  EXPECT_EQ(colors.GetColor(3), MakeColorRef(7, 7, 7));
  EXPECT_EQ(colors.GetColor(0), TStaffColorHandles::GetDefaultColor(0));
}

}  // namespace
}  // namespace kvt
