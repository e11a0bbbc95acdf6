#include "GifFiles.h"

#include <QDirIterator>
#include <QFileInfo>

namespace corvane {

namespace {

bool IsGifFile(const QFileInfo& info) {
  return info.isFile() && info.suffix().compare(QLatin1String("gif"), Qt::CaseInsensitive) == 0;
}

QStringList GifFilesBelow(const QString& folder) {
  QStringList found;
  QDirIterator it(folder, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    QString path = it.next();
    if (IsGifFile(it.fileInfo())) found << path;
  }
  found.sort();
  return found;
}

}  // namespace

QStringList CollectGifFiles(const QStringList& paths) {
  QStringList result;
  for (const QString& path : paths) {
    QFileInfo info(path);
    if (info.isDir())
      result << GifFilesBelow(path);
    else if (IsGifFile(info))
      result << path;
  }
  return result;
}

}  // namespace corvane
