#include "platform/Keys.h"

#include <QKeyEvent>

namespace vk {

int FromEvent(const QKeyEvent* e) {
    const int k = e->key();
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return 'A' + (k - Qt::Key_A);
    if (k >= Qt::Key_0 && k <= Qt::Key_9) {
        if (e->modifiers() & Qt::KeypadModifier) return 96 + (k - Qt::Key_0);
        return '0' + (k - Qt::Key_0);
    }
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return F1 + (k - Qt::Key_F1);
    const bool keypad = e->modifiers() & Qt::KeypadModifier;
    switch (k) {
        case Qt::Key_Plus:
            return keypad ? Add : Plus;
        case Qt::Key_Equal:
            return Plus;
        case Qt::Key_Minus:
            return keypad ? Subtract : Minus;
        case Qt::Key_Underscore:
            return Minus;
        case Qt::Key_Backspace:
            return Back;
        case Qt::Key_Tab:
            return Tab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return Return;
        case Qt::Key_Shift:
            return Shift;
        case Qt::Key_Control:
            return Control;
        case Qt::Key_Escape:
            return Escape;
        case Qt::Key_Space:
            return Space;
        case Qt::Key_Delete:
            return Delete;
        case Qt::Key_Left:
            return Left;
        case Qt::Key_Up:
            return Up;
        case Qt::Key_Right:
            return Right;
        case Qt::Key_Down:
            return Down;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
            return Alt;
        case Qt::Key_Pause:
            return 19;
        case Qt::Key_CapsLock:
            return 20;
        case Qt::Key_Print:
            return 44;
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
            return 91;
        case Qt::Key_Super_R:
            return 92;
        case Qt::Key_Menu:
            return 93;
        case Qt::Key_NumLock:
            return 144;
        case Qt::Key_ScrollLock:
            return 145;
        case Qt::Key_Semicolon:
        case Qt::Key_Colon:
            return 186;
        case Qt::Key_Comma:
        case Qt::Key_Less:
            return 188;
        case Qt::Key_Period:
        case Qt::Key_Greater:
            return keypad ? 110 : 190;
        case Qt::Key_Slash:
        case Qt::Key_Question:
            return keypad ? 111 : 191;
        case Qt::Key_Asterisk:
            return keypad ? 106 : Other;
        case Qt::Key_QuoteLeft:
        case Qt::Key_AsciiTilde:
            return 192;
        case Qt::Key_BracketLeft:
        case Qt::Key_BraceLeft:
            return 219;
        case Qt::Key_Backslash:
        case Qt::Key_Bar:
            return 220;
        case Qt::Key_BracketRight:
        case Qt::Key_BraceRight:
            return 221;
        case Qt::Key_Apostrophe:
        case Qt::Key_QuoteDbl:
            return 222;
        default:
            // A key the table does not know is still a key (it ends a pause).
            return Other;
    }
}

}  // namespace vk

void KeyRepeatFilter::Press(int code, bool autoRepeat, unsigned long time) {
    if (pendingUp_ == code && (autoRepeat || time == pendingTime_)) {
        // The release just before belongs to a held key: X11 sends the
        // release and the next press of a repeat with one timestamp.
        pendingUp_ = 0;
    } else if (pendingUp_ != 0) {
        Flush();
    }
    if (OnDown) OnDown(code);
}

bool KeyRepeatFilter::Release(int code, bool autoRepeat, unsigned long time) {
    if (autoRepeat) return false;  // a marked repeat: more presses follow
    if (pendingUp_ != 0 && pendingUp_ != code) Flush();
    pendingUp_ = code;
    pendingTime_ = time;
    return true;
}

void KeyRepeatFilter::Flush() {
    const int code = pendingUp_;
    pendingUp_ = 0;
    if (code != 0 && OnUp) OnUp(code);
}
