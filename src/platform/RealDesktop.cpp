#include "platform/RealDesktop.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>
#include <cstdio>
#include <cstdlib>

bool RealDesktop::OpenTextFile(const QString& path) {
    if (!QFileInfo(path).isFile()) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

void RealDesktop::EndProcess() {
    std::fflush(nullptr);
    std::_Exit(0);
}
