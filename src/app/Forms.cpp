#include "app/Forms.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QWindow>

#include "platform/BoxLoop.h"

FormBase::FormBase(QWidget* parent) : QWidget(parent) {}

FormBase::~FormBase() {
    // A window deleted without passing through Unload must not stay registered.
    auto& map = Forms::Map();
    for (auto it = map.begin(); it != map.end(); ++it) {
        if (it->second == this) {
            map.erase(it);
            break;
        }
    }
}

void FormBase::UseDialogFrame() {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

void FormBase::StayAbove(QWidget* owner) {
    if (!owner) return;
    QWidget* top = owner->window();
    if (top == this) return;
    // Both need their native windows before one can belong to the other.
    winId();
    top->winId();
    if (windowHandle() && top->windowHandle())
        windowHandle()->setTransientParent(top->windowHandle());
}

void FormBase::closeEvent(QCloseEvent* event) {
    if (unloading_ || Forms::Find(typeid(*this)) != this) {
        event->accept();
        return;
    }
    if (Forms::Unload(this))
        event->accept();
    else
        event->ignore();
}

void FormBase::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // A title bar the window draws itself (Wayland's client-side frame)
    // takes a new title only with the window's next frame: one pixel of
    // content is repainted so that the frame comes now (the running clock).
    if (event->type() == QEvent::WindowTitleChange && isWindow() && isVisible()) update(0, 0, 1, 1);
}

void FormBase::SetKeyButtons(QAbstractButton* onReturn, QAbstractButton* onEscape) {
    onReturn_ = onReturn;
    onEscape_ = onEscape;
}

void FormBase::keyPressEvent(QKeyEvent* event) {
    const auto usable = [this](QAbstractButton* b) {
        return b && b->window() == this && b->isEnabled() && b->isVisibleTo(this);
    };
    const int key = event->key();
    const bool bare = !(event->modifiers() & ~Qt::KeypadModifier);
    if (bare && (key == Qt::Key_Return || key == Qt::Key_Enter) && onReturn_) {
        // A focused button is the one the player means, as in any dialog.
        auto* focused = qobject_cast<QPushButton*>(focusWidget());
        QAbstractButton* target = usable(focused) ? focused : onReturn_;
        if (usable(target)) {
            event->accept();
            target->click();
            return;
        }
    }
    if (bare && key == Qt::Key_Escape && usable(onEscape_)) {
        event->accept();
        onEscape_->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

std::unordered_map<std::type_index, FormBase*>& Forms::Map() {
    static std::unordered_map<std::type_index, FormBase*> map;
    return map;
}

FormBase* Forms::Find(std::type_index t) {
    auto& map = Map();
    const auto it = map.find(t);
    return it == map.end() ? nullptr : it->second;
}

void Forms::Register(std::type_index t, FormBase* w) {
    Map()[t] = w;
}

bool Forms::Unload(FormBase* w) {
    if (!w || w->unloading_) return true;
    w->unloading_ = true;
    if (w->Form_Unload()) {
        w->unloading_ = false;
        return false;
    }
    auto& map = Map();
    for (auto it = map.begin(); it != map.end(); ++it) {
        if (it->second == w) {
            map.erase(it);
            break;
        }
    }
    w->hide();
    // Not inside a box's loop: the box or its opener may belong to `w`.
    boxloop::DeleteLater(w);
    return true;
}

bool Forms::IsLoaded(const FormBase* w) {
    return w && Find(typeid(*w)) == w;
}

void Forms::DiscardAll() {
    auto map = Map();
    Map().clear();
    for (auto& [type, w] : map) {
        w->unloading_ = true;
        delete w;
    }
}
