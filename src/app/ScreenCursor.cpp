#include "ScreenCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace corvane {

namespace {

Qt::CursorShape CursorShape(TCursor cursor) {
  switch (cursor) {
    case TCursor::crHourGlass:
      return Qt::WaitCursor;
    case TCursor::crAppStart:
      return Qt::BusyCursor;
    case TCursor::crHandPoint:
      return Qt::PointingHandCursor;
    case TCursor::crDefault:
      break;
  }
  return Qt::ArrowCursor;
}

}  // namespace

TScreenCursor::~TScreenCursor() { Show(TCursor::crDefault); }

void TScreenCursor::Show(TCursor cursor) {
  if (FOverridden) QGuiApplication::restoreOverrideCursor();
  FOverridden = cursor != TCursor::crDefault;
  if (FOverridden) QGuiApplication::setOverrideCursor(QCursor(CursorShape(cursor)));
}

}  // namespace corvane
