#pragma once
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <memory>

#include "app/Forms.h"
#include "platform/SoundDevice.h"
#include "ui/GameWindow.h"

// The result window "Board Completed": board, score, time, bonus and total of
// a finished board whose total did not make the high-score table, with the
// end sound 100 ms after it opens.
class Form6 : public FormBase {
    Q_OBJECT
public:
    explicit Form6(gamewindow::Link game = {});
    ~Form6() override;
    void Form_Load() override;
    bool Form_Unload() override;

    QGroupBox* Frame1 = nullptr;
    // Headings.
    QLabel* Label1 = nullptr;  // "Board"
    QLabel* Label3 = nullptr;  // "Score"
    QLabel* Label4 = nullptr;  // "Time"
    QLabel* Label5 = nullptr;  // "Bonus"
    QLabel* Label6 = nullptr;  // "Total"
    // Values, filled by the game window before it shows this one.
    QLabel* Label2 = nullptr;   // pairs
    QLabel* Label9 = nullptr;   // score
    QLabel* Label10 = nullptr;  // time
    QLabel* Label11 = nullptr;  // bonus
    QLabel* Label12 = nullptr;  // total
    QPushButton* OK = nullptr;
    QTimer* Timer1 = nullptr;  // one tick, 100 ms: the end sound
    std::unique_ptr<SoundDevice> MMControl1;

    void Timer1_Timer();
    void OK_Click();

    // Inner size of the window in twips; the frame sits 120 twips inside it.
    static constexpr double InnerWidth = 5055, InnerHeight = 2895;
    static constexpr double FrameWidth = 4815, FrameHeight = 2655;

private:
    gamewindow::Link game_;  // the game window that opened it
};
