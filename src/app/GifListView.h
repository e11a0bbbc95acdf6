#pragma once
// TGifListView: the GIF tab's file list, a report-style list that also takes files and
// folders dropped onto it and the Delete key. While locked the user can scroll it but can
// neither select, delete nor drop.

#include <QTreeWidget>

namespace corvane {

class TGifListView : public QTreeWidget {
  Q_OBJECT

 public:
  explicit TGifListView(QWidget* parent);

  bool Locked() const { return FLocked; }
  void SetLocked(bool locked) { FLocked = locked; }

 signals:
  // Local files and folders dropped onto the list, in the order of the drop.
  void FilesDropped(const QStringList& paths);
  void DeletePressed();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  bool FLocked = false;
};

}  // namespace corvane
