#include "platform/RealDialogs.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace {
bool Shown(const QWidget* w) {
    return w && w->isVisible() && !w->isMinimized();
}
// Windows a box can belong to: no splash (it has no frame and goes away by
// itself), no menu or tool tip.
bool CanOwn(const QWidget* w) {
    const Qt::WindowType type = w->windowType();
    return Shown(w) && type != Qt::SplashScreen && type != Qt::Popup && type != Qt::ToolTip;
}
// What every box gets: its text as written (it names the player's files and
// folders, which must not be taken for markup), and a width that keeps its
// title whole in the title bar, beside the window system's buttons.
void Prepare(QMessageBox& box) {
    box.setTextFormat(Qt::PlainText);
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int room = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) +
                     RealDialogs::TitleBarButtonsRoom;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(room, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
}
}  // namespace

// The active window; without one (the window manager has not activated ours
// yet) a shown main window, then any shown window, so the box is transient
// for a window of ours and never lands in a far corner or behind it.
QWidget* RealDialogs::Owner() {
    if (QWidget* active = QApplication::activeWindow(); active && CanOwn(active)) return active;
    QWidget* fallback = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!CanOwn(w)) continue;
        if (w->windowType() == Qt::Window) return w;
        fallback = w;
    }
    return fallback;
}

Dialogs::Answer RealDialogs::Message(const QString& title, const QString& text, Buttons buttons) {
    QWidget* parent = Owner();
    if (buttons == Buttons::Ok) {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
        Prepare(box);
        box.exec();
        return Answer::Ok;
    }
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    Prepare(box);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}
