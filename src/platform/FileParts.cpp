#include "platform/FileParts.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

#include "platform/FileNames.h"

FilePartsOnDisk::FilePartsOnDisk(const QString& path) {
    if (path.startsWith(u':')) {
        QFile resource(path);
        if (!resource.open(QIODevice::ReadOnly)) return;
        resource_ = resource.readAll();
        size_ = resource_.size();
        return;
    }
    fd_ = ::open(filenames::Encode(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    struct stat st {};
    if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) size_ = st.st_size;
}

FilePartsOnDisk::~FilePartsOnDisk() {
    if (fd_ >= 0) ::close(fd_);
}

QByteArray FilePartsOnDisk::Read(qint64 offset, qint64 length) {
    if (size_ < 0 || offset < 0 || length <= 0 || offset >= size_) return {};
    length = std::min(length, size_ - offset);
    if (fd_ < 0) return resource_.mid(offset, length);
    QByteArray bytes(length, Qt::Uninitialized);
    qint64 got = 0;
    while (got < length) {
        const ssize_t n = ::pread(fd_, bytes.data() + got, size_t(length - got), offset + got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return {};
        if (n == 0) break;
        got += n;
    }
    bytes.truncate(got);
    return bytes;
}
