#include "ui/FormPlacement.h"

#include <QGuiApplication>
#include <QWidget>
#include <algorithm>

#include "platform/Twips.h"

namespace placement {

void Place(QWidget* w, const twips::Rect& r) {
    w->setGeometry(twips::ToPixelRect(r));
}

void Place(QWidget* w, double left, double top, double width, double height) {
    w->setGeometry(twips::ToPixelRect(left, top, width, height));
}

namespace {
// What the frame adds to the client area, in pixels (nothing before the
// window is first shown, or where there is no window manager).
QSize FrameExtra(const QWidget* w) {
    return w->frameGeometry().size() - w->geometry().size();
}
}  // namespace

bool PositionsReported() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void SetOuterRect(QWidget* w, const twips::Rect& r) {
    const QSize extra = FrameExtra(w);
    w->move(twips::ToPixels(r.left), twips::ToPixels(r.top));
    w->resize(std::max(1, twips::ToPixels(r.width) - extra.width()),
              std::max(1, twips::ToPixels(r.height) - extra.height()));
}

void SetOuterPosition(QWidget* w, double left, double top) {
    w->move(twips::ToPixels(left), twips::ToPixels(top));
}

double OuterWidth(const QWidget* w) {
    return twips::FromPixels(w->frameGeometry().width());
}
double OuterHeight(const QWidget* w) {
    return twips::FromPixels(w->frameGeometry().height());
}

}  // namespace placement
