#include "pictures/BackgroundPicture.h"

#include "pictures/WmfReader.h"

BackgroundPicture::~BackgroundPicture() {
    Cancel();
    Reap(true);
}

void BackgroundPicture::Start(Load load, Done done) {
    Cancel();
    Reap(false);
    auto request = std::make_shared<Request>();
    current_ = request;
    Worker worker{request, {}};
    worker.thread = std::thread([this, request, load = std::move(load), done = std::move(done)] {
        std::optional<Picture> picture;
        {
            const wmfreader::PlayScope scope(&request->cancelled, false);
            try {
                if (!request->cancelled) picture = load();
            } catch (...) {
                picture.reset();
            }
        }
        request->finished = true;
        // Handed over on the asking thread; dropped when this object is gone
        // or a newer request took its place.
        QMetaObject::invokeMethod(
            this,
            [this, request, done, picture = std::move(picture)]() mutable {
                if (current_ != request || request->cancelled) return;
                current_.reset();
                done(std::move(picture));
            },
            Qt::QueuedConnection);
    });
    workers_.push_back(std::move(worker));
}

void BackgroundPicture::Cancel() {
    if (current_) current_->cancelled = true;
    current_.reset();
}

// Joins the threads that are done (all of them, waiting, when `all`).
void BackgroundPicture::Reap(bool all) {
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (all || it->request->finished) {
            if (it->thread.joinable()) it->thread.join();
            it = workers_.erase(it);
        } else {
            ++it;
        }
    }
}
