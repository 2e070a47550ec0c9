#pragma once
// How a card's picture meets the screen: the size it is decoded at for the
// screen's pixel density, and where on the card it is drawn, stretched or
// in its own shape. No widgets here.
#include <QColor>
#include <QRect>
#include <QSize>

namespace cardpicture {

// The neutral grey around a picture drawn in its own shape: it reads as a
// mount, not as part of the photo, on light and dark pictures alike.
inline const QColor Matte(128, 128, 128);

// The largest decoded copy kept per picture, in device pixels, for a screen
// of `devicePixelRatio`: the card-size cap of the board times the density,
// so a high-density screen gets as many pixels per card as it shows.
QSize IntermediateSize(double devicePixelRatio);

// A length in logical pixels as device pixels, halves to even, at least 1
// for a non-empty length.
int ToDevice(int logical, double devicePixelRatio);
QSize ToDevice(QSize logical, double devicePixelRatio);

// Where a picture of `picture`'s proportions goes inside a card area of
// `area` (both in device pixels, so edges fall on whole pixels): the whole
// area when stretched; with `keepShape` the largest rectangle of the
// picture's proportions, centred, the rest left to the matte.
QRect PictureRect(QSize picture, QSize area, bool keepShape);

// A picture this small a side is an icon drawn pixel by pixel: it grows by
// whole factors only, unsmoothed, so every pixel stays a sharp square.
inline constexpr int SmallIconSide = 64;

}  // namespace cardpicture

class QImage;

namespace cardpicture {

// `image` at exactly `size` for drawing 1:1: smoothly scaled, or, for a
// small icon that grows at least twice, enlarged by the largest whole factor
// that fits without smoothing and centred on a transparent ground.
QImage ScaledForArea(const QImage& image, QSize size);

}  // namespace cardpicture

class QPainter;
class QRectF;

namespace cardpicture {

// The game's greens and the splash's cream, shared by the plain back.
inline const QColor BoardGreen(28, 92, 56);
inline const QColor PanelGreen(43, 128, 80);
inline const QColor Cream(236, 232, 220);

// A plain card-like back for a board without back pictures: a rounded green
// panel with a cream rim and a cream diamond in the middle, drawn at the
// size asked, so it is sharp at every density.
void DrawPlainBack(QPainter& painter, const QRectF& card);

}  // namespace cardpicture
