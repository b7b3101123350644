#include "platform/qt_font_catalog.h"

#include <QFontDatabase>
#include <QString>
#include <QStringList>

namespace kvt {

bool TQtFontCatalog::IsFaceInstalled(const char* face, int) {
  if (face == nullptr || *face == 0) return false;
  const QString name = QString::fromUtf8(face);
  const QStringList families = QFontDatabase::families();
  for (const QString& family : families) {
    if (family.compare(name, Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

}  // namespace kvt
