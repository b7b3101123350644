#include "platform/music_font_loader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QString>
#include <QStringList>
#include <atomic>
#include <mutex>

#include "draw/music_font_profile.h"

namespace kvt {
namespace {

std::atomic<bool> loaded{false};

}  // namespace

std::string MusicFontFile() {
  QStringList candidates;
  if (QCoreApplication::instance() != nullptr) {
    candidates << QCoreApplication::applicationDirPath() + QStringLiteral("/../share/kvt2/bravura.otf");
  }
  candidates << QStringLiteral(KVT_MUSIC_FONT_FILE);
  for (const QString& path : candidates) {
    if (QFile::exists(path)) return path.toStdString();
  }
  return {};
}

bool LoadMusicFont() {
  static std::mutex mutex;
  std::lock_guard<std::mutex> lock(mutex);
  if (loaded.load()) return true;
  const std::string file = MusicFontFile();
  if (file.empty()) return false;
  const int id = QFontDatabase::addApplicationFont(QString::fromStdString(file));
  if (id < 0) return false;
  const QStringList families = QFontDatabase::applicationFontFamilies(id);
  loaded.store(families.contains(QString::fromLatin1(kMusicFontFamily), Qt::CaseInsensitive));
  return loaded.load();
}

bool IsMusicFontLoaded() { return loaded.load(); }

}  // namespace kvt
