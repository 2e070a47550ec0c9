#pragma once
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <QTreeView>
#include <memory>
#include <optional>
#include <vector>

#include "app/Forms.h"
#include "config/ConfigLayout.h"
#include "config/DirectoryList.h"
#include "config/FolderTree.h"
#include "config/PictureScan.h"
#include "pictures/BackgroundPicture.h"
#include "pictures/PictureLoader.h"
#include "ui/ConfigWindow.h"

class Form2;

// A label that reports a left click, used as a button ("Add", "Remove") and
// for the preview.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A caption for a name that may be longer than its room: shown cut in the
// middle with "..." to the label's width (the end, with the file type,
// stays), the whole name in its tool tip. text() keeps the whole name.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    QString ShownText() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

// The configuration window "BOARD CONFIGURATION": board size, file types,
// picture folders and the preview. Created hidden at start-up, shown from
// the game's configuration command, never destroyed while the program runs.
//
// For the OK action (config/Form1Deal.cpp) and the game window:
//  - the folder list is List3, one item per folder, its text the path and its
//    check state the include flag; Folders() reads it as entries (an entry
//    whose volume is away reads as not included and not available);
//  - SaveDirectoryList() writes dirs.txt (false after telling the player it
//    could not be written); ScanFolders() rescans and sets FilesAvailable,
//    LastScan and the "Files Available: " caption;
//  - File2Pattern is the type pattern the scan and the deal list files with;
//  - Combo1's text is the board size, Check8 is "Aquire Additional";
//  - Resize() lays the window out for the game window's geometry in Module1;
//  - TakeFileTypeSnapshot() gives the seven characters "&Configuration" stores
//    in FileTypeSnapshot, RestoreFileTypes() puts them back.
class Form1 : public FormBase, public configwindow::Window {
    Q_OBJECT
public:
    Form1();
    void Form_Load() override;
    // The close box: file types restored, the game window shown, the close refused.
    bool Form_Unload() override;

    // ---- Controls under their design names ----
    QGroupBox* Frame2 = nullptr;
    QLabel* Label10 = nullptr;    // "BOARD SIZE: 2x"
    QComboBox* Combo1 = nullptr;  // board size
    QCheckBox* Check8 = nullptr;  // "Aquire Additional"
    QLabel* Label8 = nullptr;     // "File Types"
    QGroupBox* Frame1 = nullptr;
    QCheckBox* BMP_Check = nullptr;
    QCheckBox* GIF_Check = nullptr;
    QCheckBox* JPG_Check = nullptr;
    QCheckBox* ICN_Check = nullptr;
    QCheckBox* WMF_Check = nullptr;
    QCheckBox* Other_Check = nullptr;  // "Photos": PNG, WebP, TIFF, HEIC, AVIF
    QCheckBox* All_Check = nullptr;    // "All Graphics"
    QPushButton* Command1 = nullptr;   // "OK"
    QPushButton* Command6 = nullptr;   // "Cancel"
    QFrame* Shape1 = nullptr;          // frame around the browsing area
    QLabel* Label2 = nullptr;          // "Drives:"
    QComboBox* Drive1 = nullptr;       // the mounted volumes
    QLabel* Label3 = nullptr;          // "Directories:"
    QLineEdit* Label6 = nullptr;       // the browsed folder, shortened; takes a typed path
    QTreeView* Dir1 = nullptr;         // folder browser
    FolderTreeModel* Dir1Model = nullptr;
    QLabel* Label4 = nullptr;       // "Files: " and the count
    QListWidget* File1 = nullptr;   // picture files of the browsed folder
    ClickLabel* Label13 = nullptr;  // "Add"
    ClickLabel* Label14 = nullptr;  // "       Remove"
    QLabel* Label12 = nullptr;      // "DIRECTORIES INCLUDED"
    QLabel* Label1 = nullptr;       // "Files Available: " and the count
    QLabel* Label11 = nullptr;      // the highlighted folder-list entry, shortened
    QListWidget* List3 = nullptr;   // the folder list, a check box per entry
    QFrame* Shape2 = nullptr;       // frame around the preview
    ClickLabel* Image1 = nullptr;   // the preview, stretched to its own size
    ElidedLabel* Label9 = nullptr;  // name of the previewed file
    QCheckBox* View = nullptr;      // preview on or off

    // ---- Fields ----
    int FilesAvailable = 0;
    bool LoadComplete = false;
    QString SelectedFile;  // bare name of the file last clicked in File1
    int PreviewState = 1;  // 1 preview off, -1 on; follows the View box
    QString StartDrive;    // the drive shown when the window was loaded
    QString Dir1Path;      // the folder the browser shows
    // The folder highlighted in the tree when it could not be browsed (it
    // cannot be read): "Add" takes it, not the folder still shown. Empty
    // while the highlight is the browsed folder.
    QString Dir1Highlighted;
    QString File1Path;  // the folder File1 lists
    QString File1Pattern = filetypes::InitialBrowsePattern;
    QString File2Pattern = filetypes::InitialScanPattern;
    ScanResult LastScan;                   // readable folders and distinct names of the last scan
    std::optional<Picture> Image1Picture;  // the preview's picture (the viewer reads it)
    BackgroundPicture PreviewDecoding;     // busy while the preview's file decodes

    // ---- Lists of the OK action (config/Form1Deal.cpp) ----
    QStringList CandidateFolders;
    QStringList ChosenPictures;  // full paths; entry k is the picture of cards k and k + N
    QStringList FreshFiles;

    // ---- Folder list ----
    void LoadDirectoryList();
    bool SaveDirectoryList();
    QList<FolderEntry> Folders() const;

    // ---- Scanning and types ----
    void ScanFolders();
    void BuildPattern();
    void RestoreFileTypes();
    QString TakeFileTypeSnapshot() const;
    // Sets a check box the way code does: a changed value runs the box's click step.
    static void SetValue(QCheckBox* box, int value);

    // ---- What the game window reads (ui/ConfigWindow.h) ----
    QStringList& ChosenPictureList() override { return ChosenPictures; }
    QString BoardSizeText() const override;
    QStringList BoardSizeChoices() const override;
    void SetBoardSizeText(const QString& text) override;
    bool ViewChecked() const override;

    // ---- The game window ----
    // The one game window, created on first use with this window as its
    // configuration and its requests (a new deal, this window shown)
    // connected here.
    Form2& Game();
    // In front of the program's other windows, active, focus on the board size.
    void ShowOnTop();
    // Shown in the game window's place for a new choice of pictures;
    // `gameFrame` is how far the game window's inner area lies from its
    // outer corner.
    void ShowForChoice(const QPoint& gameFrame);

    // ---- Layout ----
    // Lays the window out for the game window's geometry in the record.
    void Resize();

    // ---- Handlers ----
    void BMP_Check_Click();
    void GIF_Check_Click();
    void JPG_Check_Click();
    void ICN_Check_Click();
    void WMF_Check_Click();
    void Other_Check_Click();
    void All_Check_Click();
    void View_Click();
    void Command1_Click();  // the OK action lives with the dealing code (config/Form1Deal.cpp)
    void Command6_Click();  // Cancel
    void Drive1_Change();
    void Dir1_Click(const QString& path);  // the player picked a folder in the tree
    void Dir1_Change();                    // the folder-change handling
    void File1_Click();
    void List3_Click();
    void List3_ItemCheck();
    void Label13_Click();  // Add
    void Label14_Click();  // Remove
    void Label6_Enter();   // Enter in the folder caption: browse the typed folder
    void Image1_Click();
    bool Combo1_KeyPress(QChar key, bool isBackspace);  // false: the key is discarded
    void Combo1_LostFocus();

    // Points the browser at a folder, running the folder-change handling when
    // it really moves; false with *error set when the folder cannot be listed.
    bool PointDir1(const QString& path, FsError* error = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<std::unique_ptr<QListWidgetItem>> removedItems_;  // taken out, freed soon
    // On the folder-list entries whose volume is away: the flag dirs.txt keeps.
    static constexpr int StoredFlagRole = Qt::UserRole + 1;
    void TypeCheck_Click();
    void SetTypesGrey(bool grey);
    void ClearPreview();
    void ClearPreviewPicture();
    // Starts decoding SelectedFile of the browsed folder for Image1; a
    // failure is told when `tellFailure`.
    void LoadPreview(bool tellFailure);
    void PreviewDone(const QString& path, double dpr, std::optional<Picture> picture,
                     bool tellFailure);
    void ListFile1();
    // Brings the browser's highlighted folder into sight, its name included.
    void ShowDir1Current();
    // Highlights the folder in the tree without that counting as a click.
    void SelectInTree(const QString& path);
    void ShowLabel6AsCaption(bool caption);
    void ShowDrive(const QString& drive);
    void RemoveFolderRow(int row);
    void ShowGameWindow();
    QList<QCheckBox*> TypeBoxes() const;

    ConfigLayout layout_;
    bool selectingDir1_ = false;
};
