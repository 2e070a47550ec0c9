#include "board/Form2.h"

// Until the play handlers arrive: the first clock tick deals the board.
void Form2::ConnectPlay() {
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
}

void Form2::Timer1_Timer() {
    if (DealDone == 0) {
        DealDone = 1;
        DealBoard();
    }
}

void Form2::Timer2_Timer() {}
void Form2::Image1_Click(int) {}
void Form2::Image2_Click(int) {}
void Form2::Form_KeyDown(int, int) {}
void Form2::Form_KeyUp(int, int) {}
void Form2::Picture1_LostFocus() {}
