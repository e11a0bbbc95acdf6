#include "GifListView.h"

#include <QDropEvent>
#include <QKeyEvent>

#include "DroppedFiles.h"

namespace corvane {

TGifListView::TGifListView(QWidget* parent) : QTreeWidget(parent) {
  setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DropOnly);
}

void TGifListView::dragEnterEvent(QDragEnterEvent* event) {
  if (LocalPaths(event->mimeData()).isEmpty()) return event->ignore();
  event->acceptProposedAction();
}

void TGifListView::dragMoveEvent(QDragMoveEvent* event) {
  if (LocalPaths(event->mimeData()).isEmpty()) return event->ignore();
  event->acceptProposedAction();
}

void TGifListView::dropEvent(QDropEvent* event) {
  QStringList paths = LocalPaths(event->mimeData());
  if (paths.isEmpty()) return event->ignore();
  event->acceptProposedAction();
  emit FilesDropped(paths);
}

void TGifListView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
    emit DeletePressed();
    return event->accept();
  }
  QTreeWidget::keyPressEvent(event);
}

}  // namespace corvane
