#include "Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace corvane {

namespace {

const QColor kDeepBlue(0x1E, 0x3C, 0x6E);
const QColor kFrameBlue(0x3A, 0x6E, 0xA5);
const QColor kBeak(0xF0, 0x9A, 0x2A);

QPixmap Blank(int width, int height) {
  QPixmap pixmap(width, height);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// A title-bar piece: blue, lighter at the top.
QPixmap TitlePixmap(int width, int height) {
  QPixmap pixmap(width, height);
  QLinearGradient gradient(0, 0, 0, height);
  gradient.setColorAt(0, kFrameBlue.lighter(125));
  gradient.setColorAt(0.5, kFrameBlue);
  gradient.setColorAt(1, kDeepBlue);
  QPainter(&pixmap).fillRect(pixmap.rect(), gradient);
  return pixmap;
}

// The mark: a white crescent in a blue tile with a beak, a bird's head seen from the side.
void DrawMark(QPainter& p, const QRectF& tile) {
  qreal s = tile.width();
  QLinearGradient gradient(tile.topLeft(), tile.bottomRight());
  gradient.setColorAt(0, kFrameBlue.lighter(130));
  gradient.setColorAt(1, kDeepBlue);
  p.setPen(Qt::NoPen);
  p.setBrush(gradient);
  p.drawRoundedRect(tile, s * 0.2, s * 0.2);
  QRectF ring = tile.adjusted(s * 0.22, s * 0.22, -s * 0.22, -s * 0.22);
  p.setPen(QPen(Qt::white, s * 0.13, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(ring, 40 * 16, 280 * 16);
  QPainterPath beak;
  QPointF tip(tile.right() - s * 0.08, tile.center().y() - s * 0.12);
  beak.moveTo(ring.right() - s * 0.06, ring.top() + s * 0.1);
  beak.lineTo(tip);
  beak.lineTo(ring.right() - s * 0.02, tile.center().y() + s * 0.02);
  beak.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(kBeak);
  p.drawPath(beak);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(tile.center().x() + s * 0.06, ring.top() + s * 0.16), s * 0.05, s * 0.05);
}

void DrawHotSpot(QPainter& p, const QRect& box, int kind) {
  p.setPen(QPen(QColor(255, 255, 255, 90), 1));
  p.setBrush(QColor(255, 255, 255, 40));
  p.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
  p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  QRectF in = QRectF(box).adjusted(5, 5, -5, -5);
  switch (kind) {
    case 0: {  // homepage: a house
      QPolygonF roof{QPointF(in.left(), in.center().y()), QPointF(in.center().x(), in.top()),
                     QPointF(in.right(), in.center().y())};
      p.drawPolyline(roof);
      p.drawRect(QRectF(in.left() + 2, in.center().y(), in.width() - 4, in.height() / 2));
      break;
    }
    case 1: {  // help: a question mark
      QFont font = p.font();
      font.setBold(true);
      font.setPixelSize(14);
      p.setFont(font);
      p.drawText(box, Qt::AlignCenter, QStringLiteral("?"));
      break;
    }
    case 2:  // minimise: a bar
      p.drawLine(QPointF(in.left(), in.bottom()), QPointF(in.right(), in.bottom()));
      break;
    default:  // close: a cross
      p.drawLine(in.topLeft(), in.bottomRight());
      p.drawLine(in.topRight(), in.bottomLeft());
      break;
  }
}

QPixmap MarkPixmap(int size) {
  QPixmap pixmap = Blank(size, size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  DrawMark(p, QRectF(0, 0, size, size));
  p.end();
  return pixmap;
}

}  // namespace

QIcon WindowIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(MarkPixmap(size));
  return icon;
}

QPixmap MainTitleBarPicture() {
  QPixmap pixmap = TitlePixmap(700, 36);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  DrawMark(p, QRectF(8, 6, 24, 24));
  QFont font(QStringLiteral("Sans Serif"));
  font.setBold(true);
  font.setPixelSize(17);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRect(40, 0, 300, 36), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Corvane"));
  font.setBold(false);
  font.setPixelSize(11);
  p.setFont(font);
  p.setPen(QColor(220, 230, 245));
  p.drawText(QRect(128, 2, 300, 36), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("GIF & JPEG optimizer"));
  for (int i = 0; i < 4; ++i) DrawHotSpot(p, QRect(602 + 25 * i, 4, 20, 20), i);
  p.end();
  return pixmap;
}

QPixmap BorderStripPicture() {
  QPixmap pixmap(2, 2);
  pixmap.fill(kDeepBlue);
  return pixmap;
}

QPixmap ViewTitleBarPicture() { return TitlePixmap(1, 25); }

QPixmap ViewCornerPicture() {
  QPixmap pixmap = TitlePixmap(13, 25);
  QPainter p(&pixmap);
  p.setPen(kFrameBlue.lighter(150));
  p.drawLine(0, 0, 12, 0);
  p.drawLine(0, 0, 0, 24);
  p.end();
  return pixmap;
}

QPixmap ViewCloseButtonPicture() {
  QPixmap pixmap = TitlePixmap(30, 25);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  DrawHotSpot(p, QRect(6, 3, 19, 19), 3);
  p.end();
  return pixmap;
}

namespace {

void DrawGlyph(QPainter& p, TGlyph glyph) {
  const QPen outline(QColor(0x20, 0x30, 0x50), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  const QColor paper(0xFA, 0xFA, 0xF4);
  const QColor green(0x2E, 0x9E, 0x4A), red(0xD0, 0x3A, 0x30), gold(0xF2, 0xB8, 0x30);
  p.setPen(outline);
  switch (glyph) {
    case TGlyph::Add:
    case TGlyph::Remove:
      p.setBrush(paper);
      p.drawRect(QRectF(3.5, 2.5, 13, 17));
      p.setPen(QPen(glyph == TGlyph::Add ? green : red, 3.5, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(12, 17), QPointF(21, 17));
      if (glyph == TGlyph::Add) p.drawLine(QPointF(16.5, 12.5), QPointF(16.5, 21.5));
      break;
    case TGlyph::Open:
      p.setBrush(gold);
      p.drawPolygon(QPolygonF{QPointF(2.5, 6.5), QPointF(9.5, 6.5), QPointF(11.5, 8.5), QPointF(20.5, 8.5),
                              QPointF(20.5, 19.5), QPointF(2.5, 19.5)});
      p.setBrush(gold.lighter(125));
      p.drawPolygon(QPolygonF{QPointF(5.5, 11.5), QPointF(22.5, 11.5), QPointF(20.5, 19.5), QPointF(2.5, 19.5)});
      break;
    case TGlyph::Clear:
      p.setBrush(paper);
      p.drawRect(QRectF(4.5, 2.5, 15, 19));
      p.setPen(QPen(red, 3, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(8, 8), QPointF(16, 16));
      p.drawLine(QPointF(16, 8), QPointF(8, 16));
      break;
    case TGlyph::TestAll:
      p.setBrush(QColor(0xCF, 0xE4, 0xF8));
      p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
      p.setPen(QPen(QColor(0x20, 0x30, 0x50), 3.5, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(15, 15), QPointF(21, 21));
      break;
    case TGlyph::Optimize:
      p.setBrush(gold);
      p.drawPolygon(QPolygonF{QPointF(13.5, 1.5), QPointF(5.5, 13.5), QPointF(11.5, 13.5), QPointF(9.5, 22.5),
                              QPointF(18.5, 9.5), QPointF(12.5, 9.5)});
      break;
    case TGlyph::Save:
      p.setBrush(QColor(0x3A, 0x6E, 0xA5));
      p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 2, 2);
      p.setBrush(paper);
      p.drawRect(QRectF(7.5, 3.5, 9, 6));
      p.drawRect(QRectF(6.5, 13.5, 11, 7));
      break;
    case TGlyph::Abort:
      p.setBrush(red);
      p.drawPolygon(QPolygonF{QPointF(8.5, 2.5), QPointF(15.5, 2.5), QPointF(21.5, 8.5), QPointF(21.5, 15.5),
                              QPointF(15.5, 21.5), QPointF(8.5, 21.5), QPointF(2.5, 15.5), QPointF(2.5, 8.5)});
      p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(7.5, 12), QPointF(16.5, 12));
      break;
    case TGlyph::Email:
      p.setBrush(paper);
      p.drawRect(QRectF(2.5, 5.5, 19, 13));
      p.drawPolyline(QPolygonF{QPointF(2.5, 5.5), QPointF(12, 13), QPointF(21.5, 5.5)});
      break;
    case TGlyph::Homepage:
      p.setBrush(QColor(0xCF, 0xE4, 0xF8));
      p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QPointF(12, 12), 4, 9.5);
      p.drawLine(QPointF(2.5, 12), QPointF(21.5, 12));
      break;
    case TGlyph::Help:
      p.setBrush(QColor(0x3A, 0x6E, 0xA5));
      p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
      p.setPen(Qt::white);
      {
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(15);
        p.setFont(font);
      }
      p.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, QStringLiteral("?"));
      break;
    case TGlyph::Browse:
      p.setBrush(gold);
      p.drawRect(QRectF(1.5, 3.5, 9, 7));
      break;
  }
}

}  // namespace

QIcon ToolbarGlyph(TGlyph glyph) {
  int size = glyph == TGlyph::Browse ? 12 : 24;
  QPixmap pixmap = Blank(size, size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  DrawGlyph(p, glyph);
  p.end();
  return QIcon(pixmap);
}

}  // namespace corvane
