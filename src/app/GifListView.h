#pragma once
// TGifListView: the GIF tab's file list, a report-style list that also takes files and
// folders dropped onto it and the Delete key.

#include <QTreeWidget>

namespace corvane {

class TGifListView : public QTreeWidget {
  Q_OBJECT

 public:
  explicit TGifListView(QWidget* parent);

 signals:
  // Local files and folders dropped onto the list, in the order of the drop.
  void FilesDropped(const QStringList& paths);
  void DeletePressed();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace corvane
