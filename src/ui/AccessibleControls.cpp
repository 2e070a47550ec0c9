#include "ui/AccessibleControls.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLabel>

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
}

}  // namespace accessible
