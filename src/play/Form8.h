#pragma once
#include <QLabel>
#include <QPushButton>

#include "app/Forms.h"
#include "ui/GameWindow.h"

// The About window: the program's name and version and the disclaimer of
// warranty. Opened by the game window's "&About"; a press on the game window
// or its board, or either of them getting the focus, unloads it.
class Form8 : public FormBase {
    Q_OBJECT
public:
    // Designed size of the client area (twips).
    static constexpr double DesignWidth = 4800;
    static constexpr double DesignHeight = 2250;

    explicit Form8(gamewindow::Link game = {});
    void Form_Load() override;

    QLabel* Label1 = nullptr;         // "Tavimo"
    QLabel* Label2 = nullptr;         // "Version 1.4, requires Windows 95"
    QPushButton* Command1 = nullptr;  // "Okay"
    QPushButton* Command2 = nullptr;  // "License Agreement"

    void Command1_Click();
    void Command2_Click();

    // The disclaimer "License Agreement" shows.
    static QString LicenseText();

private:
    gamewindow::Link game_;  // the game window that opened it
};
