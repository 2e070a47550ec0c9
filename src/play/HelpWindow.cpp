#include "play/HelpWindow.h"

#include <QKeyEvent>
#include <QVBoxLayout>
#include <utility>

#include "ui/FormPlacement.h"
#include "ui/GameWindow.h"

HelpWindow::HelpWindow(gamewindow::Link game) : game_(std::move(game)) {
    setWindowTitle(tr("Tavimo Help"));
    Text = new QPlainTextEdit(this);
    Text->setReadOnly(true);
    // Read-only still lets the keyboard move through and select the text.
    Text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Text);
}

void HelpWindow::Form_Load() {
    placement::SetOuterRect(this, game_.Rect());
}

void HelpWindow::ShowText(const QString& text) {
    Text->setPlainText(text);
    show();
    raise();
    activateWindow();
    Text->setFocus();
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && !(event->modifiers() & ~Qt::KeypadModifier)) {
        event->accept();
        Forms::Unload(this);
        return;
    }
    FormBase::keyPressEvent(event);
}
