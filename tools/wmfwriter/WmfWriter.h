#pragma once
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPolygon>
#include <QRect>
#include <QString>
#include <vector>

// Writes small Windows metafiles: shapes in logical units, optionally with the
// placeable header. The window origin is 0,0 and its extent width × height.
// Pens and brushes are GDI objects: each Set* creates the new one, selects it
// and deletes the one it replaces, so at most three objects live at a time.
class WmfWriter {
public:
    WmfWriter(int width, int height, bool placeable = true);  // placeable: 1440 units per inch

    // The window the drawing is seen through, for files framed otherwise:
    // an origin elsewhere, an extent with a negative side (flipped), or
    // either record left out.
    struct Window {
        QPoint origin = {};
        QSize extent = {};
        bool setOrigin = true;
        bool setExtent = true;
        QSize viewport = {};  // when valid: the anisotropic map mode with this viewport extent
    };
    // `bounds` is the placeable header's box, in logical units.
    WmfWriter(const Window& window, const QRect& bounds, bool placeable = true);
    void SetPen(const QColor& color, int width);  // solid pen
    void SetNullPen();
    void SetBrush(const QColor& color);  // solid brush
    void SetNullBrush();
    void Rectangle(int left, int top, int right, int bottom);
    void Ellipse(int left, int top, int right, int bottom);
    void Polygon(const QPolygon& points);
    void Polyline(const QPolygon& points);
    QByteArray Finish() const;  // the complete file

    // Additions beyond the basic shapes.
    void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    void Line(int x1, int y1, int x2, int y2);  // MoveTo + LineTo with the current pen
    void PolyPolygon(const std::vector<QPolygon>& polygons);  // alternate fill
    void Pie(int left, int top, int right, int bottom, QPoint start, QPoint end);
    void TextOut(int x, int y, const QString& latin1Text);  // current font, top-left aligned
    void SetTextColor(const QColor& color);
    void SetFont(int height, int weight = 400, const QByteArray& face = "Arial");
    void SetBackgroundTransparent(bool transparent);
    // The whole image stretched into the rectangle (a device-independent bitmap).
    void StretchDib(int left, int top, int width, int height, const QImage& image);
    void RealizePalette();  // a record without parameters

private:
    enum Kind { PenObject, BrushObject, FontObject };
    void Record(quint16 function, const std::vector<quint16>& params);
    void Replace(Kind kind, quint16 function, const std::vector<quint16>& params);
    int FreeSlot() const;

    QRect bounds_;
    bool placeable_;
    QByteArray records_;
    quint32 maxRecordWords_ = 0;
    std::vector<bool> slots_;  // object table: true while a slot is in use
    int current_[3] = {-1, -1, -1};
};
