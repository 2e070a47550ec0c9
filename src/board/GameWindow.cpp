#include "board/GameWindow.h"

#include "app/Forms.h"
#include "app/Module1.h"
#include "board/Form2.h"

namespace board {

twips::Rect GameWindowRect() {
    if (const Form2* game = Forms::IfLoaded<Form2>())
        return {game->WindowLeftTwips(), game->WindowTopTwips(), game->WindowWidthTwips(),
                game->WindowHeightTwips()};
    return {Module1.WindowLeft, Module1.WindowTop, Module1.WindowWidth, Module1.WindowHeight};
}

}  // namespace board
