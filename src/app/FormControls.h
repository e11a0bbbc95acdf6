#pragma once
// Small helpers that build the windows' controls at fixed places, as a form resource
// would: a component name, a place and a hint.

#include <QRect>
#include <QString>

class QCheckBox;
class QFrame;
class QGroupBox;
class QAction;
class QLabel;
class QMenu;
class QWidget;

namespace corvane {

// Names the widget after its component and puts it at its place in the parent.
template <class W>
W* Placed(W* widget, const char* name, const QRect& place) {
  widget->setObjectName(QLatin1String(name));
  widget->setGeometry(place);
  return widget;
}

// The hint shows as a tooltip and, through the status tip, in the main window's status
// bar; an empty hint shows neither.
void SetHint(QWidget* widget, const QString& hint);
QString Hint(const QWidget* widget);

// A label sized to its text at left, top.
QLabel* NewLabel(QWidget* parent, const char* name, const QString& text, int left, int top);
QCheckBox* NewCheckBox(QWidget* parent, const char* name, const QString& text, const QRect& place, bool checked);
QGroupBox* NewGroupBox(QWidget* parent, const char* name, const QString& caption, const QRect& place);
QMenu* NewPopupMenu(QWidget* owner, const char* name);
QAction* NewMenuItem(QMenu* menu, const char* name, const QString& caption);
// A flat panel in the light grey of all panels, with a 1-pixel border in borderColor
// when one is given.
QFrame* NewPanel(QWidget* parent, const char* name, const QRect& place, const QString& borderColor = {});

}  // namespace corvane
