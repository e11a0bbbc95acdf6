#include "FormControls.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

namespace corvane {

void SetHint(QWidget* widget, const QString& hint) {
  widget->setToolTip(hint);
  widget->setStatusTip(hint);
}

QString Hint(const QWidget* widget) { return widget->statusTip(); }

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text, int left, int top) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->move(left, top);
  label->adjustSize();
  return label;
}

QCheckBox* NewCheckBox(QWidget* parent, const char* name, const QString& text, const QRect& place, bool checked) {
  auto* box = Placed(new QCheckBox(text, parent), name, place);
  box->setChecked(checked);
  return box;
}

QGroupBox* NewGroupBox(QWidget* parent, const char* name, const QString& caption, const QRect& place) {
  return Placed(new QGroupBox(caption, parent), name, place);
}

QMenu* NewPopupMenu(QWidget* owner, const char* name) {
  auto* menu = new QMenu(owner);
  menu->setObjectName(QLatin1String(name));
  return menu;
}

QAction* NewMenuItem(QMenu* menu, const char* name, const QString& caption) {
  QAction* item = menu->addAction(caption);
  item->setObjectName(QLatin1String(name));
  return item;
}

QFrame* NewPanel(QWidget* parent, const char* name, const QRect& place, const QString& borderColor) {
  auto* panel = Placed(new QFrame(parent), name, place);
  if (!borderColor.isEmpty()) {
    panel->setFrameShape(QFrame::Box);
    panel->setLineWidth(1);
    panel->setStyleSheet(QStringLiteral("QFrame#%1 { border: 1px solid %2; }").arg(QLatin1String(name), borderColor));
  }
  return panel;
}

}  // namespace corvane
