#include "PreviewLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace corvane {

namespace {

// Nearest integer with halves to the even neighbour (the default floating-point rounding).
int RoundHalfEven(double value) { return int(std::nearbyint(value)); }

// numerator / denominator (denominator > 0) rounded like RoundHalfEven, but exactly: a
// scale such as 138 / 400 has no exact binary fraction, and its product would miss the half.
int RoundedRatio(int64_t numerator, int64_t denominator) {
  int64_t quotient = numerator / denominator;
  int64_t twiceRest = 2 * (numerator % denominator);
  if (twiceRest > denominator || (twiceRest == denominator && quotient % 2 != 0)) ++quotient;
  return int(quotient);
}

TPreviewLayout FitToWidth(QSize picture, QSize panel) {
  int width = panel.width() - 10;
  int height = RoundedRatio(int64_t(width) * picture.height(), picture.width());
  return {false, true, QRect(5, (panel.height() - height) / 2, width, height)};
}

TPreviewLayout FitToHeight(QSize picture, QSize panel) {
  int height = panel.height() - 10;
  int width = RoundedRatio(int64_t(height) * picture.width(), picture.height());
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
