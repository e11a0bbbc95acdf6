#include "FlatTabControl.h"

#include <QPainter>
#include <QTabBar>

namespace corvane {

TFlatTabControl::TFlatTabControl(QWidget* parent, const QStringList& tabs)
    : QWidget(parent), FTabBar(new QTabBar(this)) {
  FTabBar->setObjectName(QStringLiteral("TabBar"));
  FTabBar->setDrawBase(false);
  FTabBar->setExpanding(false);
  FTabBar->setStyleSheet(QStringLiteral(
      "QTabBar::tab { background: #D4D4D4; border: 1px solid #8C8C8C; border-bottom: none;"
      " padding: 2px 10px; margin-right: 2px; height: 15px; }"
      "QTabBar::tab:selected { background: #E7E7E7; }"
      "QTabBar::tab:!selected { margin-top: 2px; }"));
  for (const QString& tab : tabs) FTabBar->addTab(tab);
  FTabBar->move(2, 0);
  FTabBar->adjustSize();
  setFocusProxy(FTabBar);
  connect(FTabBar, &QTabBar::currentChanged, this, &TFlatTabControl::TabChanged);
}

int TFlatTabControl::ActiveTab() const { return FTabBar->currentIndex(); }

void TFlatTabControl::SetActiveTab(int index) { FTabBar->setCurrentIndex(index); }

void TFlatTabControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(QColor(0x8C, 0x8C, 0x8C));
  painter.drawRect(QRect(0, kTabHeight - 1, width() - 1, height() - kTabHeight));
}

}  // namespace corvane
