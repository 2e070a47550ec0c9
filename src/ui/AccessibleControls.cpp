#include "ui/AccessibleControls.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace accessible {

namespace {
constexpr const char* ButtonName = "tavimoButtonName";

void Press(QObject* label) {
    QMetaObject::invokeMethod(label, "clicked");
}

class LabelButton : public QAccessibleWidget {
public:
    explicit LabelButton(QWidget* w) : QAccessibleWidget(w, QAccessible::Button) {}
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? widget()->property(ButtonName).toString() : QString();
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction() && widget()->isEnabled())
            Press(widget());
        else
            QAccessibleWidget::doAction(action);
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        return action == pressAction() ? QStringList{"Space", "Return"} : QStringList{};
    }
};

QAccessibleInterface* Factory(const QString&, QObject* o) {
    if (!o || !o->isWidgetType() || !o->property(ButtonName).isValid()) return nullptr;
    return new LabelButton(static_cast<QWidget*>(o));
}

class ButtonKeys : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~Qt::KeypadModifier) return false;
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter &&
            key->key() != Qt::Key_Space)
            return false;
        if (!key->isAutoRepeat()) Press(watched);
        return true;
    }
};
}  // namespace

void MakeButton(QLabel* label, const QString& name) {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
    label->setProperty(ButtonName, name);
    label->setFocusPolicy(Qt::StrongFocus);
    label->installEventFilter(new ButtonKeys(label));
    // A little outside the label, so the frame does not cross its text.
    new FocusCue(label, label->parentWidget(),
                 [label] { return label->geometry().adjusted(-3, -2, 3, 2); });
}

FocusCue::FocusCue(QWidget* target, QWidget* over, std::function<QRect()> area)
    : QWidget(over), target_(target), area_(std::move(area)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    target_->installEventFilter(this);
    if (over) over->installEventFilter(this);
    Refresh();
}

void FocusCue::Refresh() {
    const bool shown = target_->hasFocus() && target_->isVisible();
    if (shown) {
        setGeometry(area_());
        raise();
    }
    setVisible(shown);
    update();
}

bool FocusCue::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            // A key in the control is keyboard use, as a Tab to it is: from
            // now on the window shows where the focus is.
            if (watched == target_) {
                target_->window()->setAttribute(Qt::WA_KeyboardFocusChange);
                update();
            }
            break;
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            Refresh();
            break;
        default:
            break;
    }
    return false;
}

void FocusCue::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    // As the style draws every focus: only once the keyboard is in use in
    // the window, so a mouse player sees the window as it always was.
    option.state |= QStyle::State_HasFocus;
    option.backgroundColor = palette().color(QPalette::Window);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

}  // namespace accessible
