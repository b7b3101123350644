#include "print/page_picture_file.h"

#include <QFileDialog>

#include "print/page_picture.h"
#include "tools/message_box_service.h"
#include "utils/busy_cursor.h"
#include "utils/cursor_service.h"

namespace kvt {

bool ChoosePictureFile(QWidget* owner, const TPrintServices& services, std::string& path) {
  TPrintShell& shell = PrintShellOf(services);
  QFileDialog dialog(owner, QString::fromLatin1(kPictureDialogTitle),
                     QString::fromStdString(shell.FileDialogFolder(kPictureFolderKind)),
                     QString::fromLatin1(kPictureFileFilter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QString::fromLatin1(kPictureFileExtension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  path = dialog.selectedFiles().front().toStdString();
  shell.RememberFileDialogFolder(kPictureFolderKind, path);
  return true;
}

int CopyPagePicture(QWidget* owner, TKVTNTNPrintData& data, int dpiX, int dpiY,
                    const std::string* fileName, int n, const TPrintServices& services) {
  int result = 0;
  {
    TKVBusyCursor wait(CursorServiceOf(services.core));
    result = ExportPagePicture(data, dpiX, dpiY, fileName, n, AlertLogOf(services));
  }
  if (!result)
    MessageBoxOf(services).Show(
        owner, MB_OK | MB_ICONEXCLAMATION, QStringLiteral("Bitmap Copy Error"),
        QStringLiteral(
            "Operation failed: Probably due to insufficient memory or no DIB.DRV file."));
  return result;
}

}  // namespace kvt
