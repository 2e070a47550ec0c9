#pragma once
#include "platform/Desktop.h"

class RealDesktop final : public Desktop {
public:
    bool OpenTextFile(const QString& path) override;
    void EndProcess() override;
};
