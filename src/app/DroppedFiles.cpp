#include "DroppedFiles.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace corvane {

QStringList LocalPaths(const QMimeData* data) {
  QStringList paths;
  if (!data || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) paths << url.toLocalFile();
  return paths;
}

TFileDropTarget::TFileDropTarget(QWidget* target) : QObject(target) {
  target->setAcceptDrops(true);
  target->installEventFilter(this);
}

bool TFileDropTarget::eventFilter(QObject* watched, QEvent* event) {
  QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
    return QObject::eventFilter(watched, event);
  auto* drop = static_cast<QDropEvent*>(event);  // the drag events derive from it
  QStringList paths = LocalPaths(drop->mimeData());
  if (paths.isEmpty()) {
    drop->ignore();
    return true;
  }
  drop->acceptProposedAction();
  if (type == QEvent::Drop) emit FilesDropped(paths);
  return true;
}

}  // namespace corvane
