#include "app/Preferences.h"

#include <QSettings>
#include <QStandardPaths>

namespace preferences {
namespace {
constexpr const char* KeepShapesKey = "Board/KeepPictureShapes";
}

QString File() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/tavimo/tavimo.conf");
}

bool KeepPictureShapes() {
    return QSettings(File(), QSettings::IniFormat).value(KeepShapesKey, false).toBool();
}

void SetKeepPictureShapes(bool on) {
    QSettings settings(File(), QSettings::IniFormat);
    settings.setValue(KeepShapesKey, on);
    // A full disk or a read-only folder leaves the choice for this session only.
    settings.sync();
}

}  // namespace preferences
