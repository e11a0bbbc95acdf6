#pragma once
// The sizing rules of the picture panes and the full-view window, as pure functions of
// the sizes involved, so that the widgets only apply their results.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace corvane {

// How a GIF preview pane shows a picture: client-aligned at its own size and centred, or
// placed and stretched to fit its frame panel.
struct TPreviewLayout {
  bool ClientAligned = true;
  bool Stretch = false;
  QRect Bounds;  // in the frame panel; meaningful when not client-aligned
};

// picture: the GIF's canvas size; pane: the client-aligned control's size; panel: the
// frame panel's outer size; stretchOption: "Stretch at preview area." ticked.
TPreviewLayout FitGifPreview(QSize picture, QSize pane, QSize panel, bool stretchOption);

// How a full-view window opens for a picture on a screen of the given size: a window of
// Window's size with the picture client-aligned, or maximised with the picture at its own
// size, scrolling.
struct TFullViewSize {
  bool Maximised = false;
  QSize Window;
};

TFullViewSize FitToPicture(QSize picture, QSize screen);

// The top-left corner that centres a window of that size on the screen.
QPoint CentreOnScreen(QSize window, QSize screen);

// The offset that centres inner in outer, never below 0.
int CentredOffset(int outer, int inner);

}  // namespace corvane
