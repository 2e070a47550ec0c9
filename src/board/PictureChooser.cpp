#include "board/PictureChooser.h"

#include <QSet>

#include "platform/FileSystem.h"
#include "platform/Random.h"

namespace board {

QString BareName(const QString& path) {
    const qsizetype i = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
    return path.mid(i + 1);
}

void ChoosePictures(const ChooserInput& in, ChooserLists& lists, FileSystem& fs, Random& random) {
    lists.CandidateFolders.clear();
    lists.ChosenPictures.clear();
    lists.FreshFiles.clear();
    lists.FallbackStage = 0;
    for (const ChooserFolder& f : in.folders)
        if (f.checked) lists.CandidateFolders.append(f.path);

    QSet<QString> taken;
    int picks = 0;
    while (picks < in.wanted) {
        // Out of candidates: fall back on more folders, or stop.
        bool stop = false;
        while (lists.CandidateFolders.isEmpty()) {
            if (!in.acquireAdditional) {
                stop = true;
                break;
            }
            ++lists.FallbackStage;
            if (lists.FallbackStage == 1) {
                for (const ChooserFolder& f : in.folders)
                    if (!f.checked) lists.CandidateFolders.append(f.path);
            } else if (lists.FallbackStage == 2) {
                lists.CandidateFolders.append(in.graphicsFolder);
            } else {
                stop = true;
                break;
            }
        }
        if (stop) break;

        const int r = random.Index(lists.CandidateFolders.size());
        const QString folder = lists.CandidateFolders[r];
        // A folder that vanished or cannot be listed counts as one without files.
        FsError error = FsError::None;
        const QStringList names = fs.ListFiles(folder, in.pattern, &error);

        lists.FreshFiles.clear();
        for (const QString& name : names)
            if (!taken.contains(name)) lists.FreshFiles.append(name);
        if (lists.FreshFiles.isEmpty()) {
            lists.CandidateFolders.removeAt(r);
            continue;
        }
        const QString name = lists.FreshFiles[random.Index(lists.FreshFiles.size())];
        lists.ChosenPictures.append(FileSystem::Join(folder, name));
        taken.insert(name);
        ++picks;
    }
}

}  // namespace board
