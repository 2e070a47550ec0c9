#pragma once
#include <QStandardItemModel>

// The folder browser's tree, read through the file system seam: a folder
// whose name is no UTF-8 appears too (shown with U+FFFD, kept with its
// bytes), where the system's own model drops it. A folder's subfolders are
// read when it is first opened or asked for.
class FolderTreeModel : public QStandardItemModel {
    Q_OBJECT
public:
    explicit FolderTreeModel(QObject* parent = nullptr);
    // The row of a folder, reading the folders above it on the way; invalid
    // when no listed folder has that path.
    QModelIndex IndexOf(const QString& path);
    // The folder of a row, its name with its own bytes.
    QString PathOf(const QModelIndex& index) const;
    // Forgets what was read: folders are read afresh when next asked for.
    void Refresh();

    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    void Read(QStandardItem* folder);
};
