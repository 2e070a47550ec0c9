#include "board/Form2.h"

#include "app/Module1.h"
#include "board/BoardLayout.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"

void Form2::ConnectBacks() {}

// Until the card-back menu arrives: back 0 shows the chosen back.
void Form2::BuildBackMenu() {
    const QString backs = textfile::FindCaseInsensitive(Module1.ProgramFolder, "Backs");
    File1 = platform().fs->ListFiles(backs, "*.jpg");
    const QSize size(board::IntermediateSize, board::IntermediateSize);
    if (auto picture = platform().pictures->Load(FileSystem::Join(backs, Module1.BackFile), size))
        Image2[0]->SetPicture(picture->image, picture->file);
}

void Form2::mnuBack_Click(int) {}
