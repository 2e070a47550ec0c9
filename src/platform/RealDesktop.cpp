#include "platform/RealDesktop.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "platform/SessionEnd.h"

bool RealDesktop::OpenTextFile(const QString& path) {
    if (!QFileInfo(path).isFile()) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

void RealDesktop::EndProcess() {
    session::RequestEnd(0);
}
