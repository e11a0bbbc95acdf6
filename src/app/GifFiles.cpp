#include "GifFiles.h"

#include <QFile>
#include <QFileInfo>

#include "gifbatch/GifFileSearch.h"

namespace corvane {

QStringList CollectGifFiles(const QStringList& paths) {
  std::vector<std::string> named;
  for (const QString& path : paths) named.push_back(QFile::encodeName(path).toStdString());
  // The search lists named paths as they are; a drop takes only the GIF files among them.
  QStringList result;
  for (const std::string& file : ListGifFiles(named)) {
    QString path = QFile::decodeName(QByteArray::fromStdString(file));
    if (HasGifExtension(file) && QFileInfo(path).isFile()) result << path;
  }
  return result;
}

}  // namespace corvane
