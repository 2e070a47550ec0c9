#pragma once
#include <QByteArray>
#include <QString>

// A file read a part at a time, for readers that walk a file's headers and
// skip what lies between them (a photo's pixel data) without reading it.
class FileParts {
public:
    virtual ~FileParts() = default;
    // The file's size in bytes; negative when it could not be opened.
    virtual qint64 Size() const = 0;
    // Up to `length` bytes from `offset`: fewer at the end of the file,
    // nothing on an error.
    virtual QByteArray Read(qint64 offset, qint64 length) = 0;
};

// A regular file on disk (or one of the program's own resources); a pipe or
// a device is not opened, so nothing here waits on one.
class FilePartsOnDisk final : public FileParts {
public:
    explicit FilePartsOnDisk(const QString& path);
    ~FilePartsOnDisk() override;
    FilePartsOnDisk(const FilePartsOnDisk&) = delete;
    FilePartsOnDisk& operator=(const FilePartsOnDisk&) = delete;
    qint64 Size() const override { return size_; }
    QByteArray Read(qint64 offset, qint64 length) override;

private:
    int fd_ = -1;
    qint64 size_ = -1;
    QByteArray resource_;  // a resource is compiled in: held whole
};
