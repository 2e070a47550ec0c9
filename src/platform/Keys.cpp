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
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        default:
            return 0;
    }
}

}  // namespace vk

void KeyRepeatFilter::Press(int code, bool autoRepeat) {
    (void)autoRepeat;
    // A press right after a release of the same key: the key was held.
    if (pendingUp_ == code) {
        pendingUp_ = 0;
    } else if (pendingUp_ != 0) {
        Flush();
    }
    if (OnDown) OnDown(code);
}

bool KeyRepeatFilter::Release(int code, bool autoRepeat) {
    if (autoRepeat) return false;  // a marked repeat: more presses follow
    if (pendingUp_ != 0 && pendingUp_ != code) Flush();
    pendingUp_ = code;
    return true;
}

void KeyRepeatFilter::Flush() {
    const int code = pendingUp_;
    pendingUp_ = 0;
    if (code != 0 && OnUp) OnUp(code);
}
