#include "board/Form5.h"

#include "board/Form2.h"

Form5::Form5() {
    setWindowTitle("Tavimo");
}

void Form5::Form_Load() {
    Form2& game = Forms::Get<Form2>();
    setWindowTitle(game.windowTitle());
    move(game.pos());
    resize(game.size());
}
