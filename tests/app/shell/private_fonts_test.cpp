// Private fonts from the data folder's Fonts/fonts.ini: only plain file names in that folder.

#include "app/shell/private_fonts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/music_font_loader.h"
#include "tests/app/shell/shell_test_env.h"
#include "utils/font_description.h"

namespace kvt {
namespace {

namespace fs = std::filesystem;

class TOneFaceCatalog final : public IFontCatalog {
public:
  bool IsFaceInstalled(const char* face, int) override { return std::string(face) == "Here Face"; }
};

TEST(PrivateFontsTest, AddsMissingFacesFromPlainNamesInTheFontsFolder) {
  const fs::path data = fs::path(test::ShellTestFolder()) / "private_fonts";
  fs::create_directories(data / "Fonts" / "sub");
  ASSERT_FALSE(MusicFontFile().empty());
  fs::copy_file(MusicFontFile(), data / "Fonts" / "face.otf");
  fs::copy_file(MusicFontFile(), data / "Fonts" / "sub" / "face.otf");
  fs::copy_file(MusicFontFile(), data / "outside.otf");
  std::ofstream(data / "Fonts" / "fonts.ini") << "[Fonts]\n"
                                                 "Escape Face=../outside.otf\n"
                                                 "Sub Face=sub/face.otf\n"
                                                 "Missing Face=none.otf\n"
                                                 "Here Face=face.otf\n"
                                                 "Private Face=face.otf\n";
  TOneFaceCatalog catalog;
  EXPECT_EQ(LoadPrivateFonts(data.string(), catalog),
            std::vector<std::string>{(data / "Fonts" / "face.otf").string()});
  EXPECT_TRUE(LoadPrivateFonts((data / "none").string(), catalog).empty());
}

}  // namespace
}  // namespace kvt
