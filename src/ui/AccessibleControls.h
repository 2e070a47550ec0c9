#pragma once
// Controls that only a mouse could use, made usable from the keyboard and
// readable by a screen reader, with no change to how they look.
#include <QString>
#include <QWidget>
#include <functional>

class QLabel;

namespace accessible {

// A label with a clicked() signal acting as a button: it takes the focus
// (Tab), Return and Space press it, a focus frame shows around it while it
// has the focus, and a screen reader sees a button named `name` with a
// press action.
void MakeButton(QLabel* label, const QString& name);

// The style's focus frame around `area()` (in `over`'s coordinates) while
// `target` has the keyboard focus, for a control that draws none of its own
// or is not drawn at all. Follows the target's focus, moves and resizes by
// itself; Refresh() asks `area` again when something else moved it.
class FocusCue : public QWidget {
    Q_OBJECT
public:
    FocusCue(QWidget* target, QWidget* over, std::function<QRect()> area);
    void Refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* target_;
    std::function<QRect()> area_;
};

}  // namespace accessible
