#include "ui/GameWindow.h"

#include "app/Module1.h"

void GameWindow::BringBack() {
    setEnabled(true);
    raise();
    activateWindow();
}

namespace gamewindow {

GameWindow* Link::Window() const {
    return Forms::IsLoaded(game_.data()) ? game_.data() : nullptr;
}

twips::Rect Link::Rect() const {
    if (const GameWindow* game = Window()) return game->OuterRect();
    return {Module1.WindowLeft, Module1.WindowTop, Module1.WindowWidth, Module1.WindowHeight};
}

QSizeF Link::FrameSize() const {
    if (const GameWindow* game = Window())
        return {twips::FromPixels(game->frameGeometry().width()),
                twips::FromPixels(game->frameGeometry().height())};
    return {Module1.WindowWidth, Module1.WindowHeight};
}

std::optional<bool> Link::SoundSwitch() const {
    if (const GameWindow* game = Window()) return game->SoundChecked();
    return std::nullopt;
}

void Link::BringBack() const {
    if (GameWindow* game = Window()) game->BringBack();
}

}  // namespace gamewindow
