#pragma once
#include <functional>

class QKeyEvent;

// Keys as the game handles them: Windows virtual-key codes.
namespace vk {
constexpr int Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Alt = 18, Escape = 27,
              Space = 32;
constexpr int Left = 37, Up = 38, Right = 39, Down = 40;
constexpr int Delete = 46;
constexpr int P = 80;
constexpr int F1 = 112, F5 = 116, F6 = 117, F7 = 118;
constexpr int Plus = 187;                 // the "=" / "+" key of the main keyboard
constexpr int Minus = 189;                // the "-" / "_" key of the main keyboard
constexpr int Add = 107, Subtract = 109;  // the keypad's own keys
constexpr int Other = 255;                // a key without a code of its own

// The virtual-key code of a Qt key event; every key has one (Other when the
// table does not know it), so no key is lost on its way to the game.
int FromEvent(const QKeyEvent* event);
}  // namespace vk

// Turns Qt's key events into what the game expects of a held key: repeated
// key-downs and one key-up when the key is really let go. On X11 a held key
// sends release/press pairs, each pair with one timestamp; Qt marks them
// auto-repeat only when it already holds the press when it reads the
// release. So a release followed by a press of the same key with the same
// timestamp (or marked) is a repeat. The window calls Press/Release from its
// key events and Flush from a single-shot timer of ReleaseGraceMs, restarted
// by every release, so a press that arrives a little late still counts as
// a repeat; OnDown/OnUp receive the result.
class KeyRepeatFilter {
public:
    static constexpr int ReleaseGraceMs = 50;

    std::function<void(int vk)> OnDown;
    std::function<void(int vk)> OnUp;

    void Press(int vk, bool autoRepeat, unsigned long time = 0);
    // Returns true when a key-up is pending and Flush must be scheduled.
    bool Release(int vk, bool autoRepeat, unsigned long time = 0);
    void Flush();
    // A key-up is waiting to learn whether the key is really let go.
    bool Pending() const { return pendingUp_ != 0; }

private:
    int pendingUp_ = 0;
    unsigned long pendingTime_ = 0;
};
