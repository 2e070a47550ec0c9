#include "platform/RealDialogs.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QWindow>

#include "platform/BoxLoop.h"

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
    const bool ok = buttons == Buttons::Ok;
    // Owned by no window: the desktop may close the owner while the box
    // runs, and the box must outlive it. Transient for the owner, it still
    // stays above it and opens centred over it.
    QMessageBox box(ok ? QMessageBox::NoIcon : QMessageBox::Question, title, text,
                    ok ? QMessageBox::Ok : QMessageBox::Yes | QMessageBox::No);
    if (QWidget* owner = Owner()) {
        box.winId();
        owner->winId();
        box.windowHandle()->setTransientParent(owner->windowHandle());
    }
    if (!ok) box.setDefaultButton(QMessageBox::Yes);
    Prepare(box);
    const boxloop::Running running;
    // A question closed without an answer (its close box, the desktop
    // closing a window it blocks, the end of the session) is a No.
    const int answer = box.exec();
    if (ok) return Answer::Ok;
    return answer == QMessageBox::Yes ? Answer::Yes : Answer::No;
}
