#pragma once
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <memory>

#include "app/Forms.h"
#include "platform/SoundDevice.h"
#include "ui/GameWindow.h"

// The winner entry "Congratulations your a winner": the finished board's
// result in one row, the high-score sound and the name box. However it
// closes, the entry goes into the table once and the high-score window
// follows.
class Form7 : public FormBase {
    Q_OBJECT
public:
    explicit Form7(gamewindow::Link game = {});
    ~Form7() override;
    void Form_Load() override;
    bool Form_Unload() override;

    // ---- Controls ----
    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;  // header line
    QLabel* Label2 = nullptr;  // place
    QLabel* Label3 = nullptr;  // board
    QLabel* Label7 = nullptr;  // score before the bonus
    QLabel* Label4 = nullptr;  // time
    QLabel* Label8 = nullptr;  // bonus
    QLabel* Label5 = nullptr;  // total
    QLabel* Label6 = nullptr;  // "Please enter your name."
    QLineEdit* Text1 = nullptr;
    QPushButton* OK = nullptr;
    QTimer* Timer1 = nullptr;  // one tick, 400 ms after loading
    std::unique_ptr<SoundDevice> MMControl1;

    void Timer1_Timer();
    // Enter (13) closes the window; other keys reach the name box as typed.
    void Text1_KeyPress(int& KeyAscii);
    void OK_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    gamewindow::Link game_;  // the game window that opened it
};
