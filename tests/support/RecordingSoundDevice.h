#pragma once
#include <QStringList>
#include <memory>

#include "platform/SoundDevice.h"

// Test double: appends "<command> <file name>" to a shared log.
class RecordingSoundDevice final : public SoundDevice {
public:
    explicit RecordingSoundDevice(std::shared_ptr<QStringList> log) : log_(std::move(log)) {}
    void Command(const QString& command) override {
        if (log_) log_->append(command + " " + FileName);
    }

private:
    std::shared_ptr<QStringList> log_;
};
