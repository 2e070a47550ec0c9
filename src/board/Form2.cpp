#include "board/Form2.h"

Form2::Form2() {
    setWindowTitle("Tavimo");
    Picture1 = new QWidget(this);
    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    Timer2 = new QTimer(this);
    Timer2->setInterval(100);
    ConnectPlay();
    ConnectBacks();
}

Form2::~Form2() = default;

void Form2::Form_Load() {}

bool Form2::Form_Unload() { return false; }
