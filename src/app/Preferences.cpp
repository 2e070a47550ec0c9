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
    // Only what SetKeepPictureShapes writes turns it on: any other text
    // would count as true for QVariant.
    const QString value =
        QSettings(File(), QSettings::IniFormat).value(KeepShapesKey).toString().trimmed();
    return value.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0;
}

void SetKeepPictureShapes(bool on) {
    QSettings settings(File(), QSettings::IniFormat);
    settings.setValue(KeepShapesKey, on);
    // A full disk or a read-only folder leaves the choice for this session only.
    settings.sync();
}

}  // namespace preferences
