#pragma once

class QObject;

// A message box runs its own event loop inside the handler that opened it,
// and the desktop may close any window meanwhile. A window deleted in that
// loop would take the box (or the handler still on the stack) with it, so
// deletions wait until the last box has returned.
namespace boxloop {

// Marks one box's event loop for as long as it lives.
class Running {
public:
    Running();
    ~Running();
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
};

// `object->deleteLater()` now when no box runs, otherwise once the last box
// has returned to the code that opened it.
void DeleteLater(QObject* object);

}  // namespace boxloop
