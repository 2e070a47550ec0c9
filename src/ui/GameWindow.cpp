#include "ui/GameWindow.h"

#include <QWidget>
#include <utility>

#include "app/Module1.h"

namespace gamewindow {
namespace {
Hooks& Registered() {
    static Hooks hooks;
    return hooks;
}

QWidget* Loaded() {
    const Hooks& hooks = Registered();
    return hooks.window ? hooks.window() : nullptr;
}
}  // namespace

void Register(Hooks hooks) {
    Registered() = std::move(hooks);
}

twips::Rect Rect() {
    if (Loaded() && Registered().rect) return Registered().rect();
    return {Module1.WindowLeft, Module1.WindowTop, Module1.WindowWidth, Module1.WindowHeight};
}

QSizeF FrameSize() {
    if (const QWidget* game = Loaded())
        return {twips::FromPixels(game->frameGeometry().width()),
                twips::FromPixels(game->frameGeometry().height())};
    return {Module1.WindowWidth, Module1.WindowHeight};
}

std::optional<bool> SoundSwitch() {
    if (Loaded() && Registered().soundOn) return Registered().soundOn();
    return std::nullopt;
}

QWidget* Window() {
    return Loaded();
}

void BringBack() {
    if (QWidget* game = Loaded()) {
        game->setEnabled(true);
        game->raise();
        game->activateWindow();
    }
}

}  // namespace gamewindow
