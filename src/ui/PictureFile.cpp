#include "ui/PictureFile.h"

#include <QObject>
#include <QVariant>

namespace picturefile {

namespace {
constexpr const char* Property = "tavimoPictureFile";
}

void Remember(QObject* control, const QString& file) {
    if (control) control->setProperty(Property, file);
}

QString Of(const QObject* control) {
    return control ? control->property(Property).toString() : QString();
}

void Copy(const QObject* from, QObject* to) {
    Remember(to, Of(from));
}

}  // namespace picturefile
