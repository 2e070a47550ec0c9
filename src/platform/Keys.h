#pragma once
#include <functional>

class QKeyEvent;

// Keys as the game handles them: Windows virtual-key codes.
namespace vk {
constexpr int Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Escape = 27, Space = 32;
constexpr int Delete = 46;
constexpr int P = 80;
constexpr int F1 = 112, F5 = 116, F6 = 117, F7 = 118;
constexpr int Plus = 187;   // the "=" / "+" key of the main keyboard
constexpr int Minus = 189;  // the "-" / "_" key of the main keyboard
constexpr int Add = 107, Subtract = 109;  // the keypad's own keys

// The virtual-key code of a Qt key event (0 when it has none).
int FromEvent(const QKeyEvent* event);
}  // namespace vk

// Turns Qt's key events into what the game expects of a held key: repeated
// key-downs and one key-up when the key is really let go. Qt reports a held
// key as press/release pairs marked auto-repeat; some X servers leave the mark
// off, so a release followed at once by a press of the same key counts as a
// repeat too. The window calls Press/Release from its key events and Flush
// from a zero-delay timer after a release; OnDown/OnUp receive the result.
class KeyRepeatFilter {
public:
    std::function<void(int vk)> OnDown;
    std::function<void(int vk)> OnUp;

    void Press(int vk, bool autoRepeat);
    // Returns true when a key-up is pending and Flush must be scheduled.
    bool Release(int vk, bool autoRepeat);
    void Flush();

private:
    int pendingUp_ = 0;
};
