#pragma once
#include <QPlainTextEdit>

#include "app/Forms.h"
#include "ui/GameWindow.h"

// The help text inside the game, for a desktop that has no program to open
// a text file with: read-only, over the game window's rectangle; Escape
// closes it.
class HelpWindow : public FormBase {
    Q_OBJECT
public:
    explicit HelpWindow(gamewindow::Link game = {});
    void Form_Load() override;
    void ShowText(const QString& text);

    QPlainTextEdit* Text = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    gamewindow::Link game_;  // the game window that opened it
};
