#pragma once
// TFlatTabControl: a row of flat tabs over a page area. The pages are ordinary child
// widgets placed by their owner, so that a page can slide in and out of view.

#include <QWidget>

class QTabBar;

namespace corvane {

class TFlatTabControl : public QWidget {
  Q_OBJECT

 public:
  TFlatTabControl(QWidget* parent, const QStringList& tabs);

  int ActiveTab() const;
  void SetActiveTab(int index);
  QTabBar* TabBar() const { return FTabBar; }
  // Height of the tab row; the page area starts below it.
  static constexpr int kTabHeight = 20;

 signals:
  void TabChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QTabBar* FTabBar;
};

}  // namespace corvane
