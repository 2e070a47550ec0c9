#include "sound/RealSoundDevice.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QThread>
#include <QTimer>
#include <QtGlobal>
#include <vector>

namespace {

// A timer this often tops the device's buffer up to its full length; the
// buffer holds a few ticks, so a late tick or two is never heard.
constexpr int TickMs = 10;
constexpr int BufferMs = 70;
// The rate the mixer runs at while no device is open, to let sounds end.
constexpr int IdleRate = 48000;
// How often the default output device is looked at, to follow the player's
// choice of another one.
constexpr int DeviceCheckMs = 1000;

// Qt's sound-server back end tells of a missing server or a broken stream
// in its own words, without a category to switch off, from threads of its
// own and every time; the output says it once in its own words instead.
QtMessageHandler passOn = nullptr;
void DropAudioServiceNoise(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg || type == QtCriticalMsg) {
        if (text.startsWith(QLatin1String("PulseAudioService:")) ||
            text.startsWith(QLatin1String("\"Stream error:")))
            return;
    }
    if (passOn) passOn(type, context, text);
}

// Signed 16-bit, the mixer's format, at the device's preferred rate and
// with one or two channels.
QAudioFormat ChooseFormat(const QAudioDevice& device) {
    const QAudioFormat preferred = device.preferredFormat();
    QAudioFormat f;
    f.setSampleFormat(QAudioFormat::Int16);
    f.setSampleRate(preferred.sampleRate() > 0 ? preferred.sampleRate() : 48000);
    f.setChannelCount(preferred.channelCount() == 1 ? 1 : 2);
    if (device.isFormatSupported(f)) return f;
    for (int rate : {48000, 44100}) {
        f.setSampleRate(rate);
        f.setChannelCount(2);
        if (device.isFormatSupported(f)) return f;
    }
    return f;
}

// Lives in the output thread: owns the sink and feeds it.
class Feeder {
public:
    Feeder(std::shared_ptr<SoundMixer> mixer, std::shared_ptr<RealSoundOutput::Status> status,
           int retryMs)
        : mixer_(std::move(mixer)), status_(std::move(status)), retryMs_(retryMs) {
        QObject::connect(&tick_, &QTimer::timeout, [this] { Tick(); });
        QObject::connect(&devices_, &QMediaDevices::audioOutputsChanged,
                         [this] { FollowDefaultDevice(); });
        tick_.setTimerType(Qt::PreciseTimer);
        tick_.start(TickMs);
        sinceFed_.start();
        sinceDeviceCheck_.start();
        Open();
    }
    ~Feeder() { Close(); }
    Feeder(const Feeder&) = delete;
    Feeder& operator=(const Feeder&) = delete;

private:
    void Open() {
        ++status_->attempts;
        sinceTry_.start();
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull()) {
            WarnOnce("no audio output device; the game plays without sound");
            return;
        }
        const QAudioFormat format = ChooseFormat(device);
        auto sink = std::make_unique<QAudioSink>(device, format);
        sink->setBufferSize(format.bytesForDuration(BufferMs * 1000));
        QIODevice* io = sink->start();
        if (!io || sink->error() != QAudio::NoError) {
            WarnOnce("the audio output cannot be opened; the game plays without sound");
            return;
        }
        sink_ = std::move(sink);
        io_ = io;
        format_ = format;
        deviceId_ = device.id();
        status_->open = true;
    }

    void Close() {
        status_->open = false;
        io_ = nullptr;
        if (sink_) sink_->stop();
        sink_.reset();
    }

    void Tick() {
        if (sink_ && sink_->state() == QAudio::StoppedState && sink_->error() != QAudio::NoError) {
            // The sound server went away or the device with it: try a new one
            // after a pause; meanwhile the sounds run on unheard.
            WarnOnce("the audio output failed; trying to open it again");
            Close();
        }
        if (!sink_) {
            DrainUnheard();
            if (sinceTry_.elapsed() >= retryMs_) Open();
            return;
        }
        sinceFed_.restart();
        // Qt does not tell when only the default device changes: look now and then.
        if (sinceDeviceCheck_.elapsed() >= DeviceCheckMs) FollowDefaultDevice();
        if (!sink_) return;
        const int frameBytes = format_.bytesPerFrame();
        const int frames = static_cast<int>(sink_->bytesFree() / frameBytes);
        if (frames <= 0) return;
        const int channels = format_.channelCount();
        buffer_.resize(static_cast<size_t>(frames) * static_cast<size_t>(channels));
        mixer_->Mix(buffer_.data(), frames, channels, format_.sampleRate());
        io_->write(reinterpret_cast<const char*>(buffer_.data()),
                   static_cast<qint64>(frames) * frameBytes);
    }

    // Without a device, time still passes for the sounds: one played while
    // the server was gone must not come out late when it is back.
    void DrainUnheard() {
        const int frames = static_cast<int>(sinceFed_.restart() * IdleRate / 1000);
        if (frames <= 0) return;
        buffer_.resize(static_cast<size_t>(frames));
        mixer_->Mix(buffer_.data(), frames, 1, IdleRate);
    }

    void FollowDefaultDevice() {
        sinceDeviceCheck_.start();
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        // A sink that plays stays until another device is the default.
        if (sink_ && (device.isNull() || device.id() == deviceId_)) return;
        Close();
        Open();
    }

    void WarnOnce(const char* text) {
        if (warned_) return;
        warned_ = true;
        qWarning("%s", text);
    }

    std::shared_ptr<SoundMixer> mixer_;
    std::shared_ptr<RealSoundOutput::Status> status_;
    const int retryMs_;
    QMediaDevices devices_;
    QTimer tick_;
    QElapsedTimer sinceTry_;
    QElapsedTimer sinceFed_;
    QElapsedTimer sinceDeviceCheck_;
    std::unique_ptr<QAudioSink> sink_;
    QIODevice* io_ = nullptr;  // owned by sink_
    QAudioFormat format_;
    QByteArray deviceId_;
    std::vector<int16_t> buffer_;
    bool warned_ = false;
};

class OutputThread final : public QThread {
public:
    OutputThread(std::shared_ptr<SoundMixer> mixer, std::shared_ptr<RealSoundOutput::Status> status,
                 int retryMs)
        : mixer_(std::move(mixer)), status_(std::move(status)), retryMs_(retryMs) {
        setObjectName("sound output");
    }

protected:
    void run() override {
        // Made, fed and destroyed in this thread, as Qt's audio objects want.
        Feeder feeder(mixer_, status_, retryMs_);
        exec();
    }

private:
    std::shared_ptr<SoundMixer> mixer_;
    std::shared_ptr<RealSoundOutput::Status> status_;
    const int retryMs_;
};

}  // namespace

RealSoundOutput::RealSoundOutput(int retryMs)
    : mixer_(std::make_shared<SoundMixer>()), status_(std::make_shared<Status>()) {
    passOn = qInstallMessageHandler(DropAudioServiceNoise);
    thread_ = std::make_unique<OutputThread>(mixer_, status_, retryMs);
    thread_->start();
}

RealSoundOutput::~RealSoundOutput() {
    thread_->quit();
    thread_->wait();
    // Hands the messages back, unless someone took them over since.
    const QtMessageHandler current = qInstallMessageHandler(passOn);
    if (current != DropAudioServiceNoise) qInstallMessageHandler(current);
}

std::unique_ptr<MixerSoundDevice> RealSoundOutput::MakeDevice() const {
    return std::make_unique<MixerSoundDevice>(mixer_);
}
