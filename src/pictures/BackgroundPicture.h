#pragma once
#include <QObject>
#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <thread>

#include "pictures/PictureLoader.h"

// Decodes a window's picture away from the window's thread, so the window
// stays responsive while a slow file decodes. One picture at a time: a
// newer request cancels the one before (a metafile stops at its next
// record) and only the newest result is handed back, on the thread that
// asked, through its event loop. A window's request goes before the
// thumbnail writer's work on the metafile player.
class BackgroundPicture : public QObject {
public:
    using Load = std::function<std::optional<Picture>()>;
    using Done = std::function<void(std::optional<Picture>)>;

    BackgroundPicture() = default;
    // Cancels the request in progress and waits for its decode to stop.
    ~BackgroundPicture() override;
    BackgroundPicture(const BackgroundPicture&) = delete;
    BackgroundPicture& operator=(const BackgroundPicture&) = delete;

    // Runs `load` on a thread of its own; `done` hears its result unless
    // another Start or a Cancel comes first.
    void Start(Load load, Done done);
    void Cancel();
    // True from Start until `done` was called or the request was cancelled.
    bool Busy() const { return current_ != nullptr; }

private:
    struct Request {
        std::atomic<bool> cancelled{false};
        std::atomic<bool> finished{false};
    };
    void Reap(bool all);
    std::shared_ptr<Request> current_;
    struct Worker {
        std::shared_ptr<Request> request;
        std::thread thread;
    };
    std::list<Worker> workers_;
};
