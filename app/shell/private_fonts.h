#pragma once
// The program's private text fonts: every key of section "Fonts" in Fonts/fonts.ini of the
// data folder is a face name, its value a font file in that Fonts folder. A face the system
// lacks is added to the application's font database from its file. The ini file is outside
// data: a value naming anything but a plain file name in the Fonts folder (a '/', "..") is
// ignored. Needs a QGuiApplication.

#include <string>
#include <vector>

namespace kvt {

class IFontCatalog;

// The files added, in the ini file's order.
std::vector<std::string> LoadPrivateFonts(const std::string& dataFolder, IFontCatalog& installed);

}  // namespace kvt
