#pragma once
// The program's own pictures, drawn in code: the window icon, the title bars with their
// hot spots, the border strips and the toolbar glyphs.

#include <QIcon>
#include <QPixmap>

namespace corvane {

QIcon WindowIcon();

// The main window's title bar, 700 × 36, with the glyphs of the four hot spots at
// 602, 627, 652 and 677 (homepage, help, minimise, close).
QPixmap MainTitleBarPicture();
// The colour of the window edges, stretched along them.
QPixmap BorderStripPicture();

// The full-view window's title bar (stretched), its left corner (13 × 25) and its close
// button (30 × 25).
QPixmap ViewTitleBarPicture();
QPixmap ViewCornerPicture();
QPixmap ViewCloseButtonPicture();

enum class TGlyph { Add, Open, Remove, Clear, TestAll, Optimize, Save, Abort, Email, Homepage, Help, Browse };

// A toolbar glyph, 24 × 24 (Browse: 12 × 12).
QIcon ToolbarGlyph(TGlyph glyph);

}  // namespace corvane
