#pragma once
#include <QString>
#include <QStringList>
#include <memory>

// A wave-sound device driven by string commands, one per playing window.
// "Open" opens FileName, "Prev" rewinds, "Play" starts playing, "Close" closes.
// It never throws, never blocks and reports nothing back: no game rule may
// wait on a sound.
class SoundDevice {
public:
    virtual ~SoundDevice() = default;
    QString FileName;
    QString DeviceType;
    virtual void Command(const QString& command) = 0;
};
