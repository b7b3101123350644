#include "app/shell/private_fonts.h"

#include <QFontDatabase>
#include <QString>
#include <filesystem>
#include <system_error>

#include "utils/font_description.h"
#include "utils/path_utils.h"
#include "utils/private_profile.h"

namespace kvt {

namespace {

constexpr int kAnyCharSet = 1;  // DEFAULT_CHARSET

bool IsPlainFileName(const std::string& name) {
  return !name.empty() && name.find('/') == std::string::npos && name != "." &&
         name.find("..") == std::string::npos;
}

}  // namespace

std::vector<std::string> LoadPrivateFonts(const std::string& dataFolder, IFontCatalog& installed) {
  std::string fonts = dataFolder;
  AppendPathComponent(fonts, "Fonts");
  std::string ini = fonts;
  AppendPathComponent(ini, "fonts.ini");
  std::vector<std::string> added;
  for (const auto& [face, file] : GetPrivateProfileSection("Fonts", ini.c_str())) {
    if (!IsPlainFileName(file) || installed.IsFaceInstalled(face.c_str(), kAnyCharSet)) continue;
    std::string path = fonts;
    AppendPathComponent(path, file);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) continue;
    if (QFontDatabase::addApplicationFont(QString::fromStdString(path)) >= 0) added.push_back(path);
  }
  return added;
}

}  // namespace kvt
