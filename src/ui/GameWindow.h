#pragma once
#include <QPointer>
#include <QSizeF>
#include <optional>

#include "app/Forms.h"
#include "platform/Twips.h"

// The game window as the windows it opens see it: where it stands, its sound
// switch, and giving it back its clicks after a window over it has done.
// The game window hands itself to each window it opens (gamewindow::Link);
// the windows below it need to know nothing else of it.
class GameWindow : public FormBase {
    Q_OBJECT
public:
    using FormBase::FormBase;
    // Its outer rectangle in twips, where the player left it.
    virtual twips::Rect OuterRect() const = 0;
    // Its "S&ound" check.
    virtual bool SoundChecked() const = 0;
    // Lets it take clicks again and brings it to the front. It never went
    // away: it is not shown anew.
    void BringBack();
};

namespace gamewindow {

// A window's hold on the game window that opened it. It answers for that
// window while it is loaded and for none once it has been unloaded (or when
// none opened it: start-up's first splash, a test); without one each answer
// is what the settings of record say.
class Link {
public:
    Link() = default;
    explicit Link(GameWindow* game) : game_(game) {}

    // The outer rectangle, where secondary windows go: the window itself
    // (the player may have moved it), otherwise the record's.
    twips::Rect Rect() const;
    // The window's frame size in twips, or the record's width and height.
    QSizeF FrameSize() const;
    // The "S&ound" check at this moment; nothing without a game window.
    std::optional<bool> SoundSwitch() const;
    // The loaded game window, or null: the window the others stack over.
    GameWindow* Window() const;
    void BringBack() const;

private:
    QPointer<GameWindow> game_;
};

}  // namespace gamewindow
