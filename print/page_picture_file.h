#pragma once
// The page-picture commands' dialog steps around ExportPagePicture: the file choice and the
// failure message. Texts are the program's own.
//
// UI thread only.

#include <QString>
#include <string>

#include "print/print_services.h"

class QWidget;

namespace kvt {

class TKVTNTNPrintData;

// The copy-page choice "File" and the save dialog's texts.
inline constexpr const char* kPictureFileChoiceText = "&File (*.svg)";
inline constexpr const char* kPictureDialogTitle = "Export Graphic File";
inline constexpr const char* kPictureFileFilter = "SVG Files (*.svg)";
inline constexpr const char* kPictureFileExtension = "svg";
// The file-dialog kind whose folder the picture export remembers.
inline constexpr int kPictureFolderKind = 0;

// The save dialog for a picture file, starting in the remembered folder; the folder of the
// chosen file is remembered. False when the user cancelled.
bool ChoosePictureFile(QWidget* owner, const TPrintServices& services, std::string& path);

// Exports page n to the file or (null) the clipboard; on failure shows "Bitmap Copy Error".
// 1 when exported, 0 otherwise.
int CopyPagePicture(QWidget* owner, TKVTNTNPrintData& data, int dpiX, int dpiY,
                    const std::string* fileName, int n, const TPrintServices& services);

}  // namespace kvt
