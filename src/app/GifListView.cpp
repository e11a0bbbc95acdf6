#include "GifListView.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "DroppedFiles.h"

namespace corvane {

TGifListView::TGifListView(QWidget* parent) : QTreeWidget(parent) {
  setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DropOnly);
}

void TGifListView::dragEnterEvent(QDragEnterEvent* event) {
  if (FLocked || LocalPaths(event->mimeData()).isEmpty()) return event->ignore();
  event->acceptProposedAction();
}

void TGifListView::dragMoveEvent(QDragMoveEvent* event) {
  if (FLocked || LocalPaths(event->mimeData()).isEmpty()) return event->ignore();
  event->acceptProposedAction();
}

void TGifListView::dropEvent(QDropEvent* event) {
  QStringList paths = LocalPaths(event->mimeData());
  if (FLocked || paths.isEmpty()) return event->ignore();
  event->acceptProposedAction();
  emit FilesDropped(paths);
}

void TGifListView::keyPressEvent(QKeyEvent* event) {
  if (FLocked) return event->accept();
  if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
    emit DeletePressed();
    return event->accept();
  }
  QTreeWidget::keyPressEvent(event);
}

void TGifListView::mousePressEvent(QMouseEvent* event) {
  if (FLocked) return event->accept();
  QTreeWidget::mousePressEvent(event);
}

void TGifListView::mouseReleaseEvent(QMouseEvent* event) {
  if (FLocked) return event->accept();
  QTreeWidget::mouseReleaseEvent(event);
}

void TGifListView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (FLocked) return event->accept();
  QTreeWidget::mouseDoubleClickEvent(event);
}

void TGifListView::mouseMoveEvent(QMouseEvent* event) {
  if (FLocked && event->buttons() != Qt::NoButton) return event->accept();
  QTreeWidget::mouseMoveEvent(event);
}

}  // namespace corvane
