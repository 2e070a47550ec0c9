#include "platform/BoxLoop.h"

#include <QObject>
#include <QPointer>
#include <vector>

namespace boxloop {

namespace {
int depth = 0;
// An object deleted by someone else meanwhile drops out by itself.
std::vector<QPointer<QObject>>& Waiting() {
    static std::vector<QPointer<QObject>> waiting;
    return waiting;
}
}  // namespace

Running::Running() {
    ++depth;
}

Running::~Running() {
    if (--depth > 0) return;
    // Posted from the opener's own loop: run once its handler has returned.
    std::vector<QPointer<QObject>> due;
    due.swap(Waiting());
    for (const QPointer<QObject>& object : due)
        if (object) object->deleteLater();
}

void DeleteLater(QObject* object) {
    if (!object) return;
    if (depth == 0)
        object->deleteLater();
    else
        Waiting().emplace_back(object);
}

}  // namespace boxloop
