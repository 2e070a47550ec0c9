#include "platform/RealSoundDevice.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

RealSoundDevice::RealSoundDevice() = default;
RealSoundDevice::~RealSoundDevice() = default;

void RealSoundDevice::Command(const QString& command) {
    const QString c = command.trimmed().toLower();
    if (c == "open") {
        effect_.reset();
        if (!QFileInfo(FileName).isFile()) return;
        effect_ = std::make_unique<QSoundEffect>();
        effect_->setSource(QUrl::fromLocalFile(FileName));
    } else if (c == "prev") {
        if (effect_) effect_->stop();
    } else if (c == "play") {
        if (effect_) effect_->play();
    } else if (c == "close") {
        effect_.reset();
    }
}
