#include "config/FolderTree.h"

#include "platform/FileNames.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace {
constexpr int PathRole = Qt::UserRole + 1;  // the folder's path, with its bytes
constexpr int ReadRole = Qt::UserRole + 2;  // its subfolders were read
QStandardItem* FolderItem(const QString& path, const QString& name) {
    auto* item = new QStandardItem(filenames::Shown(name));
    item->setData(path, PathRole);
    item->setEditable(false);
    return item;
}
}  // namespace

FolderTreeModel::FolderTreeModel(QObject* parent) : QStandardItemModel(parent) {
    Refresh();
}

void FolderTreeModel::Refresh() {
    clear();
    appendRow(FolderItem(QStringLiteral("/"), QStringLiteral("/")));
}

void FolderTreeModel::Read(QStandardItem* folder) {
    if (folder->data(ReadRole).toBool()) return;
    folder->setData(true, ReadRole);
    const QString path = folder->data(PathRole).toString();
    QList<QStandardItem*> rows;
    for (const QString& name : platform().fs->ListFolders(path))
        rows.append(FolderItem(FileSystem::Join(path, name), name));
    for (QStandardItem* row : rows) folder->appendRow(row);
    // A folder found empty loses its expander.
    if (rows.isEmpty()) emit dataChanged(folder->index(), folder->index());
}

QModelIndex FolderTreeModel::IndexOf(const QString& path) {
    QStandardItem* at = item(0);
    if (!at || !path.startsWith('/')) return {};
    QString here = QStringLiteral("/");
    for (const QString& part : path.split('/', Qt::SkipEmptyParts)) {
        Read(at);
        here = FileSystem::Join(here, part);
        QStandardItem* next = nullptr;
        for (int r = 0; r < at->rowCount() && !next; ++r)
            if (at->child(r)->data(PathRole).toString() == here) next = at->child(r);
        if (!next) return {};
        at = next;
    }
    return indexFromItem(at);
}

QString FolderTreeModel::PathOf(const QModelIndex& index) const {
    return index.data(PathRole).toString();
}

bool FolderTreeModel::hasChildren(const QModelIndex& parent) const {
    if (!parent.isValid()) return rowCount() > 0;
    // Not read yet: it may hold folders.
    return !parent.data(ReadRole).toBool() || rowCount(parent) > 0;
}

bool FolderTreeModel::canFetchMore(const QModelIndex& parent) const {
    return parent.isValid() && !parent.data(ReadRole).toBool();
}

void FolderTreeModel::fetchMore(const QModelIndex& parent) {
    if (QStandardItem* folder = itemFromIndex(parent)) Read(folder);
}
