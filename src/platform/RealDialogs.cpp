#include "platform/RealDialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace {
// The box centres over its parent. Without an active window (the window
// manager has not activated ours yet, or there is none) the program's
// visible window stands in, so the box never lands in a far corner.
QWidget* Owner() {
    if (QWidget* active = QApplication::activeWindow()) return active;
    QWidget* owner = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && !w->isMinimized() && w->windowType() != Qt::Popup &&
            w->windowType() != Qt::ToolTip)
            owner = w;
    return owner;
}
}  // namespace

Dialogs::Answer RealDialogs::Message(const QString& title, const QString& text, Buttons buttons) {
    QWidget* parent = Owner();
    if (buttons == Buttons::Ok) {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
        box.exec();
        return Answer::Ok;
    }
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}
