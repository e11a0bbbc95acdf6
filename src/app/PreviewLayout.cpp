#include "PreviewLayout.h"

#include <algorithm>
#include <cmath>

namespace corvane {

namespace {

// Nearest integer with halves to the even neighbour (the default floating-point rounding).
int RoundHalfEven(double value) { return int(std::nearbyint(value)); }

TPreviewLayout FitToWidth(QSize picture, QSize panel) {
  int width = panel.width() - 10;
  int height = RoundHalfEven(double(width) / picture.width() * picture.height());
  return {false, true, QRect(5, (panel.height() - height) / 2, width, height)};
}

TPreviewLayout FitToHeight(QSize picture, QSize panel) {
  int height = panel.height() - 10;
  int width = RoundHalfEven(double(height) / picture.height() * picture.width());
  return {false, true, QRect((panel.width() - width) / 2, 5, width, height)};
}

}  // namespace

TPreviewLayout FitGifPreview(QSize picture, QSize pane, QSize panel, bool stretchOption) {
  bool tooWide = picture.width() > pane.width();
  bool tooTall = picture.height() > pane.height();
  TPreviewLayout layout;
  if (tooWide && (!tooTall || picture.width() > picture.height()))
    layout = FitToWidth(picture, panel);
  else if (tooTall)
    layout = FitToHeight(picture, panel);
  if (stretchOption) layout.Stretch = true;
  return layout;
}

TFullViewSize FitToPicture(QSize picture, QSize screen) {
  if (picture.width() + 10 < screen.width() - 10 && picture.height() + 10 < screen.height() - 30)
    return {false, QSize(std::max(picture.width() + 30, 340), std::max(picture.height() + 50, 240))};
  return {true, QSize()};
}

QPoint CentreOnScreen(QSize window, QSize screen) {
  return {RoundHalfEven((screen.width() - window.width()) * 0.5),
          RoundHalfEven((screen.height() - window.height()) * 0.5)};
}

int CentredOffset(int outer, int inner) { return std::max(0, RoundHalfEven((outer - inner) * 0.5)); }

}  // namespace corvane
