#include "app/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <cmath>
#include <map>

namespace vernier {

namespace {

const QColor kInk(30, 40, 90);       // outlines and arrows
const QColor kArrow(20, 90, 190);    // navigation arrows
const QColor kOcean(70, 140, 220);   // globe and map water
const QColor kLand(80, 170, 80);     // map land
const QColor kPaper(255, 255, 250);  // list sheet
const QColor kNight(20, 30, 70);     // sky background
const QColor kStar(255, 220, 60);    // stars
const QColor kMoon(190, 190, 180);   // lunar limb
const QColor kPin(210, 40, 40);      // observer marker

// Step arrows: a triangle pointing left or right, with a bar on the side it
// points to ("go to the neighbouring event").
void DrawStepArrow(QPainter& p, bool forward) {
  QPolygonF triangle;
  if (forward)
    triangle << QPointF(3, 3) << QPointF(12, 9) << QPointF(3, 15);
  else
    triangle << QPointF(15, 3) << QPointF(6, 9) << QPointF(15, 15);
  p.setPen(QPen(kInk, 1));
  p.setBrush(kArrow);
  p.drawPolygon(triangle);
  p.fillRect(forward ? QRectF(13, 3, 2.5, 12) : QRectF(2.5, 3, 2.5, 12), kInk);
}

void DrawList(QPainter& p) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(kPaper);
  p.drawRect(QRectF(2.5, 1.5, 13, 15));
  for (int row = 0; row < 4; ++row) {
    const double y = 4.5 + row * 3.3;
    p.fillRect(QRectF(4.5, y - 0.5, 2, 2), row == 0 ? kPin : kArrow);
    p.fillRect(QRectF(7.5, y, 6, 1), kInk);
  }
}

// A table of times beside a Moon with a star at its limb.
void DrawPredictions(QPainter& p) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(kPaper);
  p.drawRect(QRectF(1.5, 5.5, 10, 11));
  for (int row = 0; row < 3; ++row) p.fillRect(QRectF(3.5, 8 + row * 3, 6, 1), kInk);
  p.setBrush(QColor(255, 230, 120));
  p.drawEllipse(QPointF(13, 5), 4, 4);
  p.fillRect(QRectF(8, 1, 2, 2), kPin);
}

void DrawMagnifier(QPainter& p, bool plus) {
  p.setPen(QPen(kInk, 1.5));
  p.setBrush(QColor(225, 240, 255));
  p.drawEllipse(QPointF(7.5, 7.5), 5.5, 5.5);
  p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(11.8, 11.8), QPointF(16, 16));
  p.setPen(QPen(kPin, 1.8));
  p.drawLine(QPointF(4.8, 7.5), QPointF(10.2, 7.5));
  if (plus) p.drawLine(QPointF(7.5, 4.8), QPointF(7.5, 10.2));
}

void DrawGlobe(QPainter& p) {
  const QPointF c(9, 9);
  p.setPen(QPen(kInk, 1));
  p.setBrush(kOcean);
  p.drawEllipse(c, 7.5, 7.5);
  p.setBrush(kLand);
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(6.5, 7), 2.8, 2.2);
  p.drawEllipse(QPointF(11.5, 11.5), 2.2, 2.8);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(255, 255, 255, 200), 0.8));
  p.drawEllipse(c, 3.5, 7.5);
  p.drawLine(QPointF(1.5, 9), QPointF(16.5, 9));
  p.drawLine(QPointF(9, 1.5), QPointF(9, 16.5));
}

void DrawPin(QPainter& p) {
  // Ground line, then the marker standing on it.
  p.setPen(QPen(kLand, 2));
  p.drawLine(QPointF(2, 16), QPointF(16, 16));
  QPainterPath pin;
  pin.moveTo(9, 16);
  pin.cubicTo(QPointF(5, 10.5), QPointF(3.5, 8.5), QPointF(3.5, 6.5));
  pin.arcTo(QRectF(3.5, 1, 11, 11), 180, -180);
  pin.cubicTo(QPointF(14.5, 8.5), QPointF(13, 10.5), QPointF(9, 16));
  p.setPen(QPen(QColor(120, 20, 20), 1));
  p.setBrush(kPin);
  p.drawPath(pin);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(9, 6.5), 2, 2);
}

void DrawFoldedMap(QPainter& p) {
  // Three panels of a folded chart, alternately lit, with a coast across them.
  const QPolygonF panels[3] = {
      QPolygonF({QPointF(1.5, 3.5), QPointF(6.5, 1.5), QPointF(6.5, 14.5), QPointF(1.5, 16.5)}),
      QPolygonF({QPointF(6.5, 1.5), QPointF(11.5, 3.5), QPointF(11.5, 16.5), QPointF(6.5, 14.5)}),
      QPolygonF(
          {QPointF(11.5, 3.5), QPointF(16.5, 1.5), QPointF(16.5, 14.5), QPointF(11.5, 16.5)})};
  for (int i = 0; i < 3; ++i) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(i == 1 ? kOcean.darker(115) : kOcean);
    p.drawPolygon(panels[i]);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(kLand);
  p.drawEllipse(QPointF(5, 8), 2.5, 3.5);
  p.drawEllipse(QPointF(13, 10), 2.5, 2.5);
}

void DrawStar(QPainter& p, QPointF centre, double outer) {
  QPolygonF star;
  for (int i = 0; i < 10; ++i) {
    const double r = i % 2 ? outer * 0.42 : outer;
    const double a = -M_PI / 2 + i * M_PI / 5;
    star << centre + QPointF(r * std::cos(a), r * std::sin(a));
  }
  p.drawPolygon(star);
}

void DrawSky(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(kNight);
  p.drawRoundedRect(QRectF(0.5, 0.5, 17, 17), 3, 3);
  p.setBrush(kStar);
  DrawStar(p, QPointF(6, 6.5), 4.2);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(13.5, 4), 1, 1);
  p.drawEllipse(QPointF(14, 13), 1.1, 1.1);
  p.drawEllipse(QPointF(4, 14), 0.8, 0.8);
  // A crescent Moon low on the right.
  p.setBrush(QColor(240, 240, 220));
  QPainterPath moon;
  moon.addEllipse(QPointF(11, 11), 3.2, 3.2);
  QPainterPath bite;
  bite.addEllipse(QPointF(12.6, 9.8), 3, 3);
  p.drawPath(moon.subtracted(bite));
}

void DrawLimb(QPainter& p) {
  // The Moon's edge filling the lower left, a star at the limb on its track.
  p.setPen(QPen(QColor(110, 110, 100), 1));
  p.setBrush(kMoon);
  QPainterPath limb;
  limb.moveTo(0, 18);
  limb.lineTo(0, 4);
  limb.cubicTo(QPointF(5, 4.5), QPointF(9, 6), QPointF(11.5, 8.5));
  limb.lineTo(12.5, 9.2);
  limb.cubicTo(QPointF(14.5, 12), QPointF(15.5, 15), QPointF(16, 18));
  limb.closeSubpath();
  p.drawPath(limb);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(150, 150, 140));
  p.drawEllipse(QPointF(4, 11), 1.8, 1.5);
  p.drawEllipse(QPointF(8, 14.5), 1.3, 1.1);
  p.setPen(QPen(kArrow, 1, Qt::DotLine));
  p.drawLine(QPointF(6, 1.5), QPointF(17, 12.5));
  p.setPen(QPen(QColor(150, 100, 0), 0.7));
  p.setBrush(kStar);
  DrawStar(p, QPointF(11.5, 7), 3.6);
}

void DrawAbout(QPainter& p) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(kArrow);
  p.drawEllipse(QPointF(9, 9), 7.5, 7.5);
  QFont font;
  font.setPixelSize(13);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(0, 0.5, 18, 18), Qt::AlignCenter, QStringLiteral("?"));
}

}  // namespace

QIcon ToolbarIcon(const QString& actionName) {
  static const std::map<QString, void (*)(QPainter&)> kPictures = {
      {QStringLiteral("actionPrevious"), [](QPainter& p) { DrawStepArrow(p, false); }},
      {QStringLiteral("actionNext"), [](QPainter& p) { DrawStepArrow(p, true); }},
      {QStringLiteral("actionList"), [](QPainter& p) { DrawList(p); }},
      {QStringLiteral("actionZoomIn"), [](QPainter& p) { DrawMagnifier(p, true); }},
      {QStringLiteral("actionZoomOut"), [](QPainter& p) { DrawMagnifier(p, false); }},
      {QStringLiteral("actionZoomReset"), [](QPainter& p) { DrawGlobe(p); }},
      {QStringLiteral("actionLocal"), [](QPainter& p) { DrawPin(p); }},
      {QStringLiteral("actionBackToMap"), [](QPainter& p) { DrawFoldedMap(p); }},
      {QStringLiteral("actionSky"), [](QPainter& p) { DrawSky(p); }},
      {QStringLiteral("actionLimb"), [](QPainter& p) { DrawLimb(p); }},
      {QStringLiteral("actionAbout"), [](QPainter& p) { DrawAbout(p); }},
      {QStringLiteral("actionPredictions"), [](QPainter& p) { DrawPredictions(p); }},
  };
  const auto picture = kPictures.find(actionName);
  if (picture == kPictures.end()) return {};
  QPixmap pixmap(kToolbarIconSize, kToolbarIconSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, true);
  picture->second(p);
  p.end();
  return QIcon(pixmap);
}

QPixmap ProgramMark(int size) {
  QPixmap mark(size, size);
  mark.fill(Qt::transparent);
  QPainter p(&mark);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.scale(size / 48.0, size / 48.0);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(20, 30, 70));
  p.drawRoundedRect(QRectF(1, 1, 46, 46), 8, 8);
  p.setBrush(QColor(215, 215, 200));
  p.drawEllipse(QPointF(20, 28), 15, 15);
  p.setBrush(QColor(170, 170, 160));
  p.drawEllipse(QPointF(15, 24), 3.5, 3);
  p.drawEllipse(QPointF(23, 35), 2.5, 2);
  p.setBrush(kStar);
  p.drawEllipse(QPointF(38, 13), 3, 3);
  p.setPen(QPen(kStar, 1, Qt::DotLine));
  p.drawLine(QPointF(36, 15), QPointF(31, 20));
  return mark;
}

}  // namespace vernier
