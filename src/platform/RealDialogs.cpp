#include "platform/RealDialogs.h"

#include <QApplication>
#include <QMessageBox>

Dialogs::Answer RealDialogs::Message(const QString& title, const QString& text, Buttons buttons) {
    QWidget* parent = QApplication::activeWindow();
    if (buttons == Buttons::Ok) {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
        box.exec();
        return Answer::Ok;
    }
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}
