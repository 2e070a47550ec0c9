#pragma once
#include <QStringList>

#include "platform/Desktop.h"

// Test double: records the files opened and the calls to end the process.
class RecordingDesktop final : public Desktop {
public:
    QStringList opened;
    int endCalls = 0;
    bool openSucceeds = true;
    bool OpenTextFile(const QString& path) override {
        opened.append(path);
        return openSucceeds;
    }
    void EndProcess() override { ++endCalls; }
};
