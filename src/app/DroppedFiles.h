#pragma once
// Local files dropped onto a window: the paths a drag carries, and a filter that lets any
// widget take such drops.

#include <QObject>
#include <QStringList>

class QMimeData;
class QWidget;

namespace corvane {

// The local files and folders among the drag's URLs, in their order.
QStringList LocalPaths(const QMimeData* data);

// Makes its target widget accept drags that carry local files, and reports their drop.
class TFileDropTarget : public QObject {
  Q_OBJECT

 public:
  // Owned by target.
  explicit TFileDropTarget(QWidget* target);

 signals:
  void FilesDropped(const QStringList& paths);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace corvane
