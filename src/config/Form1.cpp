#include "config/Form1.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStyle>
#include <QTimer>
#include <QToolTip>

#include "app/GamePaths.h"
#include "app/Module1.h"
#include "board/CardPicture.h"
#include "board/Form2.h"
#include "board/ScreenPlacement.h"
#include "board/frmSplash.h"
#include "config/ConfigText.h"
#include "config/FolderTree.h"
#include "pictures/PictureLoader.h"
#include "platform/FileNames.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"
#include "platform/Twips.h"
#include "ui/AccessibleControls.h"
#include "ui/FormPlacement.h"
#include "ui/GameWindow.h"
#include "ui/PictureFile.h"
#include "ui/PlayerText.h"
#include "viewer/Form3.h"

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

QString ElidedLabel::ShownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, contentsRect().width());
}

bool ElidedLabel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const QString shown = ShownText();
        if (shown == text()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), PlainToolTip(text()),
                               this);
        }
        return true;
    }
    return QLabel::event(event);
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    style()->drawItemText(&p, contentsRect(), static_cast<int>(alignment()), palette(), isEnabled(),
                          ShownText(), foregroundRole());
}

namespace {
using placement::Place;
// The volumes worth offering in the drive list: the system's own mounts
// (devices, kernel and run-time folders, single mounted files) hold no pictures.
QStringList PictureDrives(FileSystem& fs) {
    QStringList out;
    for (const QString& d : fs.Drives()) {
        const bool system = d.startsWith("/dev") || d.startsWith("/proc") || d.startsWith("/sys") ||
                            d.startsWith("/snap/") || d.startsWith("/boot") ||
                            (d.startsWith("/run") && !d.startsWith("/run/media/"));
        if (d == "/" || (!system && fs.IsFolder(d))) out.append(d);
    }
    return out;
}
// The player's own folders, offered above the drives: home and the
// desktop's pictures folder, where they exist.
QStringList UserPlaces(FileSystem& fs) {
    QStringList out;
    for (const QString& p :
         {QDir::homePath(), QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)}) {
        const QString clean = QDir::cleanPath(p);
        if (!p.isEmpty() && clean != "/" && !out.contains(clean) && fs.IsFolder(clean))
            out.append(clean);
    }
    return out;
}
bool Holds(const QString& folder, const QString& path) {
    return path == folder || path.startsWith(folder.endsWith('/') ? folder : folder + '/');
}
// A list's "click": the mouse's click, or a row selected without the mouse
// (keys, code). Only the selection counts: the focus arriving in a list
// moves its current row to the top without selecting it, and that is no
// choice of the player's.
void ConnectClick(QListWidget* list, QObject* context, const std::function<void()>& handler) {
    QObject::connect(list, &QListWidget::itemClicked, context, [handler] { handler(); });
    QObject::connect(list, &QListWidget::itemSelectionChanged, context, [list, handler] {
        const QListWidgetItem* current = list->currentItem();
        if (current && current->isSelected() && QGuiApplication::mouseButtons() == Qt::NoButton)
            handler();
    });
}
}  // namespace

Form1::Form1() {
    setWindowTitle(tr("BOARD CONFIGURATION"));

    // Frames first, so everything else lies above them.
    Shape1 = new QFrame(this);
    Shape1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Shape2 = new QFrame(this);
    Shape2->setFrameStyle(QFrame::Box | QFrame::Plain);

    Frame2 = new QGroupBox(this);
    Label10 = new QLabel(tr("BOARD SIZE: 2x"), Frame2);
    Combo1 = new QComboBox(Frame2);
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setCompleter(nullptr);  // "3" stays "3", not the list's "30"
    // Keys and focus reach the box first and its text field through it.
    Combo1->installEventFilter(this);
    Combo1->lineEdit()->installEventFilter(this);
    Check8 = new QCheckBox(tr("Aquire Additional"), Frame2);

    Label8 = new QLabel(tr("File Types"), this);
    Frame1 = new QGroupBox(this);
    BMP_Check = new QCheckBox("BMP", Frame1);
    GIF_Check = new QCheckBox("GIF", Frame1);
    JPG_Check = new QCheckBox("JPEG", Frame1);
    ICN_Check = new QCheckBox("ICON", Frame1);
    WMF_Check = new QCheckBox("WMF", Frame1);
    // Short enough for the frame at the smallest window; the tip names the types.
    Other_Check = new QCheckBox(tr("Photos"), Frame1);
    Other_Check->setToolTip(tr("PNG, WebP, TIFF, HEIC/HEIF, AVIF and JPEG XL"));
    // All six on, so that leaving "All Graphics" starts from every type.
    for (QCheckBox* box : TypeBoxes()) box->setChecked(true);
    All_Check = new QCheckBox(tr("All Graphics"), this);

    Command1 = new QPushButton(tr("OK"), this);
    Command6 = new QPushButton(tr("Cancel"), this);

    Label2 = new QLabel(tr("Drives:"), this);
    Drive1 = new QComboBox(this);
    Label3 = new QLabel(tr("Directories:"), this);
    // The browsed folder's caption doubles as a place to type or paste a
    // path: it shows the whole path while it has the focus.
    Label6 = new QLineEdit(this);
    Label6->setFrame(false);
    Label6->setToolTip(tr("Type or paste a folder and press Enter to browse it"));
    ShowLabel6AsCaption(true);
    Label6->installEventFilter(this);
    Dir1Model = new FolderTreeModel(this);
    Dir1 = new QTreeView(this);
    Dir1->setModel(Dir1Model);
    Dir1->setHeaderHidden(true);
    for (int c = 1; c < Dir1Model->columnCount(); ++c) Dir1->hideColumn(c);
    Dir1->setSelectionMode(QAbstractItemView::SingleSelection);
    Dir1->setIndentation(12);  // deep folders stay in sight in the narrow browser
    // Long folder names scroll sideways instead of being cut.
    Dir1->header()->setStretchLastSection(false);
    Dir1->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    Label4 = new QLabel(tr("Files:"), this);
    File1 = new QListWidget(this);

    Label13 = new ClickLabel(tr("Add"), this);
    Label14 = new ClickLabel(QStringLiteral("       ") + tr("Remove"), this);
    for (ClickLabel* l : {Label13, Label14}) {
        l->setCursor(Qt::PointingHandCursor);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    accessible::MakeButton(Label13, tr("Add"));
    accessible::MakeButton(Label14, tr("Remove"));
    Label12 = new QLabel(tr("DIRECTORIES INCLUDED"), this);
    Label1 = new QLabel(tr("Files Available: "), this);
    Label11 = new QLabel(this);
    Label11->setTextFormat(Qt::PlainText);  // a folder's name, as it is
    List3 = new QListWidget(this);
    // Paths keep both ends visible; the caption above shows the highlighted one.
    List3->setTextElideMode(Qt::ElideMiddle);
    List3->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    Image1 = new ClickLabel(this);
    Image1->setScaledContents(true);
    Image1->hide();
    Label9 = new ElidedLabel(this);
    Label9->setTextFormat(Qt::PlainText);
    View = new QCheckBox(tr("View"), this);
    // Names a screen reader says for the controls whose captions lie apart.
    Combo1->setAccessibleName(tr("Board size"));
    if (Combo1->lineEdit()) Combo1->lineEdit()->setAccessibleName(tr("Board size"));
    Drive1->setAccessibleName(tr("Drives"));
    // A combo box reads as its value here: its caption comes as its label.
    Label10->setBuddy(Combo1);
    Label2->setBuddy(Drive1);
    Label6->setAccessibleName(tr("Folder"));
    Dir1->setAccessibleName(tr("Directories"));
    File1->setAccessibleName(tr("Files"));
    List3->setAccessibleName(tr("Directories included"));
    Image1->setAccessibleName(tr("Preview"));

    connect(BMP_Check, &QCheckBox::stateChanged, this, [this] { BMP_Check_Click(); });
    connect(GIF_Check, &QCheckBox::stateChanged, this, [this] { GIF_Check_Click(); });
    connect(JPG_Check, &QCheckBox::stateChanged, this, [this] { JPG_Check_Click(); });
    connect(ICN_Check, &QCheckBox::stateChanged, this, [this] { ICN_Check_Click(); });
    connect(WMF_Check, &QCheckBox::stateChanged, this, [this] { WMF_Check_Click(); });
    connect(Other_Check, &QCheckBox::stateChanged, this, [this] { Other_Check_Click(); });
    connect(All_Check, &QCheckBox::stateChanged, this, [this] { All_Check_Click(); });
    connect(View, &QCheckBox::stateChanged, this, [this] { View_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    SetKeyButtons(Command1, Command6);
    connect(Drive1, &QComboBox::activated, this, [this] { Drive1_Change(); });
    connect(Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) {
                if (!selectingDir1_ && index.isValid()) Dir1_Click(Dir1Model->PathOf(index));
            });
    ConnectClick(File1, this, [this] { File1_Click(); });
    ConnectClick(List3, this, [this] { List3_Click(); });
    connect(List3, &QListWidget::itemChanged, this, [this] { List3_ItemCheck(); });
    connect(Label13, &ClickLabel::clicked, this, [this] { Label13_Click(); });
    connect(Label14, &ClickLabel::clicked, this, [this] { Label14_Click(); });
    connect(Image1, &ClickLabel::clicked, this, [this] { Image1_Click(); });
}

QList<QCheckBox*> Form1::TypeBoxes() const {
    return {BMP_Check, GIF_Check, JPG_Check, ICN_Check, WMF_Check, Other_Check};
}

// ---- Loading ----

void Form1::Form_Load() {
    LoadDirectoryList();
    Combo1->addItems({"4", "8", "12", "16", "20", "30", "40"});
    Combo1->setCurrentIndex(1);
    Combo1->setEditText("8");
    Label9->clear();
    setWindowState(Qt::WindowNoState);

    FileSystem& fs = *platform().fs;
    Drive1->addItems(UserPlaces(fs));
    for (const QString& d : PictureDrives(fs))
        if (Drive1->findText(d) < 0) Drive1->addItem(d);
    ShowDrive(fs.DriveOf(Paths().GraphicsFolder()));
    StartDrive = Drive1->currentText();
    PreviewState = 1;
    SelectedFile.clear();
    if (!PointDir1(Paths().GraphicsFolder())) PointDir1(Paths().ContentFolder());

    Resize();
    layout_.Image1.width = layout_.Image1.height = 1500;
    layout_.Shape2.width = layout_.Shape2.height = 1500;
    Place(Image1, layout_.Image1);
    Place(Shape2, layout_.Shape2);

    LoadComplete = true;
    ScanFolders();
    Label4->setText(tr("Files: %1").arg(File1->count()));
}

void Form1::LoadDirectoryList() {
    LoadComplete = false;
    List3->clear();
    for (const FolderEntry& e : dirlist::Load(Paths().DataFolder(), Paths().GraphicsFolder())) {
        auto* item = new QListWidgetItem(e.path);
        item->setToolTip(PlainToolTip(e.path));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(e.included ? Qt::Checked : Qt::Unchecked);
        if (!e.available) {
            // Its volume is away: out of this session's scans and deals, and
            // not to be ticked, but it stays in the list (and in dirs.txt,
            // with its own flag) for when the volume is back.
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            item->setCheckState(Qt::Unchecked);
            item->setData(StoredFlagRole, e.included);
            item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
            item->setToolTip(tr("not available now"));
        }
        List3->addItem(item);
    }
}

bool Form1::SaveDirectoryList() {
    QList<FolderEntry> entries = Folders();
    for (int i = 0; i < entries.size(); ++i)
        if (!entries[i].available)
            entries[i].included = List3->item(i)->data(StoredFlagRole).toBool();
    QString error;
    if (dirlist::Save(Paths().DataFolder(), entries, &error)) return true;
    platform().dialogs->Info("Tavimo",
                             textfile::SaveFailedMessage(
                                 FileSystem::Join(Paths().DataFolder(), dirlist::FileName), error));
    return false;
}

QList<FolderEntry> Form1::Folders() const {
    QList<FolderEntry> out;
    for (int i = 0; i < List3->count(); ++i) {
        const QListWidgetItem* item = List3->item(i);
        out.append({item->text(), item->checkState() == Qt::Checked,
                    !item->data(StoredFlagRole).isValid()});
    }
    return out;
}

// ---- Scanning and file types ----

void Form1::ScanFolders() {
    QList<FolderEntry> folders = Folders();
    QList<int> removed;
    LastScan = ::ScanFolders(folders, File2Pattern, &removed);
    for (int row : removed) RemoveFolderRow(row);
    FilesAvailable = LastScan.FilesAvailable();
    Label1->setText(tr("Files Available: %1").arg(FilesAvailable));
}

void Form1::RemoveFolderRow(int row) {
    // Taking an entry out is no click on the one that moves up.
    const QSignalBlocker block(List3);
    // The entry may be the one whose check mark is being handled right now:
    // it goes once that handling is over.
    // Until then the window keeps it, so it is freed with the window at the latest.
    removedItems_.emplace_back(List3->takeItem(row));
    QTimer::singleShot(0, this, [this] { removedItems_.clear(); });
    // The list would highlight the next entry, and a second click on Remove
    // would take that one too: nothing stays highlighted, nothing is named.
    List3->selectionModel()->clear();
    Label11->clear();
}

void Form1::BuildPattern() {
    std::array<bool, filetypes::Count> on{};
    const QList<QCheckBox*> boxes = TypeBoxes();
    for (int i = 0; i < filetypes::Count; ++i) on[i] = boxes[i]->checkState() == Qt::Checked;
    const QString pattern = filetypes::BuildPattern(on);
    if (pattern.isEmpty()) {
        SetValue(All_Check, 1);  // applies the all-types pattern and rescans
        return;
    }
    File1Pattern = File2Pattern = pattern;
    Dir1_Change();
    ScanFolders();
}

void Form1::TypeCheck_Click() {
    if (All_Check->checkState() == Qt::Checked)
        SetValue(All_Check, 0);  // which builds the pattern from the boxes
    else
        BuildPattern();
}

void Form1::BMP_Check_Click() {
    TypeCheck_Click();
}
void Form1::GIF_Check_Click() {
    TypeCheck_Click();
}
void Form1::JPG_Check_Click() {
    TypeCheck_Click();
}
void Form1::ICN_Check_Click() {
    TypeCheck_Click();
}
void Form1::WMF_Check_Click() {
    TypeCheck_Click();
}
void Form1::Other_Check_Click() {
    TypeCheck_Click();
}

void Form1::All_Check_Click() {
    if (All_Check->checkState() == Qt::Checked) {
        SetTypesGrey(true);
        File1Pattern = File2Pattern = filetypes::AllPattern;
        Dir1_Change();
        ScanFolders();
    } else {
        SetTypesGrey(false);
        BuildPattern();
    }
}

void Form1::SetTypesGrey(bool grey) {
    const QPalette base = QApplication::palette(All_Check);
    const QColor colour = grey ? base.color(QPalette::Disabled, QPalette::WindowText)
                               : base.color(QPalette::Active, QPalette::WindowText);
    QList<QWidget*> widgets = {Frame1};
    for (QCheckBox* box : TypeBoxes()) widgets.append(box);
    for (QWidget* w : widgets) {
        QPalette p = w->palette();
        p.setColor(QPalette::Active, QPalette::WindowText, colour);
        p.setColor(QPalette::Inactive, QPalette::WindowText, colour);
        w->setPalette(p);
    }
}

QString Form1::TakeFileTypeSnapshot() const {
    std::array<bool, filetypes::Count + 1> on{};
    const QList<QCheckBox*> boxes = TypeBoxes();
    for (int i = 0; i < filetypes::Count; ++i) on[i] = boxes[i]->checkState() == Qt::Checked;
    on[filetypes::Count] = All_Check->checkState() == Qt::Checked;
    return filetypes::Snapshot(on);
}

void Form1::RestoreFileTypes() {
    // Nothing was taken yet (the window came up after a failed first deal):
    // the types stay as they are rather than all being switched off.
    if (Module1.FileTypeSnapshot.isEmpty()) return;
    const auto on = filetypes::FromSnapshot(Module1.FileTypeSnapshot);
    QList<QCheckBox*> boxes = TypeBoxes();
    boxes.append(All_Check);
    for (int i = 0; i < boxes.size(); ++i) SetValue(boxes[i], on[i] ? 1 : 0);
}

void Form1::SetValue(QCheckBox* box, int value) {
    // Any other value greys the box, as a stored odd value may; the player's
    // own clicks still only switch between on and off.
    if (value != 0 && value != 1) box->setTristate(true);
    box->setCheckState(value == 0   ? Qt::Unchecked
                       : value == 1 ? Qt::Checked
                                    : Qt::PartiallyChecked);
    if (value == 0 || value == 1) box->setTristate(false);
}

// ---- Layout ----

void Form1::Resize() {
    double W = Module1.WindowWidth, H = Module1.WindowHeight;
    if (W <= 0 || H <= 0) W = 9550, H = 6750;
    // The window fits the screen the game window is on (a low laptop
    // screen, a scaled desktop), however large the game window's size.
    double left = Module1.WindowLeft, top = Module1.WindowTop;
    const std::vector<twips::Rect> screens = screenplacement::AvailableScreens();
    if (!screens.empty()) {
        twips::Rect on = screens.front();
        for (const twips::Rect& r : screens)
            if (left >= r.left && left < r.right() && top >= r.top && top < r.bottom()) on = r;
        W = std::min(W, on.width);
        H = std::min(H, on.height);
        left = std::clamp(left, on.left, on.right() - W);
        top = std::clamp(top, on.top, on.bottom() - H);
    }
    const double comboHeight = twips::FromPixels(Drive1->sizeHint().height());
    layout_ = ComputeConfigLayout(W, H, comboHeight);

    // The game window's geometry is the outer size; the frame (when the
    // window system reports one) comes off the client area.
    const QRect frame = frameGeometry(), inner = geometry();
    const int frameW = isVisible() ? frame.width() - inner.width() : 0;
    const int frameH = isVisible() ? frame.height() - inner.height() : 0;
    resize(std::max(1, twips::ToPixels(W) - frameW), std::max(1, twips::ToPixels(H) - frameH));
    move(twips::ToPixels(left), twips::ToPixels(top));

    // Captions keep at least their own width, where the design's room is
    // narrower than this system's font needs.
    auto widen = [](QWidget* w, TwipRect& r) {
        r.width = std::max(r.width, twips::FromPixels(w->sizeHint().width()));
    };
    ConfigLayout& c = layout_;
    widen(Label10, c.Label10);
    // The board-size box stays beside its caption's text at every size.
    c.Combo1.left =
        std::max(1680.0, c.Label10.left + twips::FromPixels(Label10->sizeHint().width()) + 105);
    c.Label10.height = c.Combo1.height;
    widen(Check8, c.Check8);
    widen(Label8, c.Label8);
    const QList<QCheckBox*> boxes = TypeBoxes();
    const double frameWidth = c.Frame1.width;
    for (int i = 0; i < filetypes::Count; ++i) {
        widen(boxes[i], c.TypeBox[i]);
        c.Frame1.width = std::max(c.Frame1.width, c.TypeBox[i].right() + 120);
    }
    // Never into the browsing frame.
    c.Frame1.width =
        std::min(c.Frame1.width, std::max(frameWidth, c.Shape1.left - 45 - c.Frame1.left));
    widen(All_Check, c.All_Check);
    for (auto [w, r] : {std::pair{Label2, &c.Label2},
                        {Label3, &c.Label3},
                        {Label4, &c.Label4},
                        {Label12, &c.Label12},
                        {Label1, &c.Label1}})
        widen(w, *r);
    widen(View, c.View);
    // "Add" and "       Remove" keep their whole text between the browser
    // and the folder list (the list was drawn over them): the list and its
    // captions move right for it, the list keeping its right edge.
    const double buttonText =
        twips::FromPixels(std::max(Label13->sizeHint().width(), Label14->sizeHint().width()));
    const double shift = std::max(0.0, c.Label14.left + buttonText - c.List3.left);
    if (shift > 0) {
        for (TwipRect* r : {&c.List3, &c.Label11, &c.Label1, &c.Label12}) r->left += shift;
        c.List3.width -= shift;
        c.Label13.width += shift;
        c.Label14.width += shift;
        c.addArrowTo += shift;
    }
    // The list ends inside the browsing area's frame, also where the
    // unscaled gap before it leaves less room than the design's.
    c.List3.width = std::min(c.List3.width, c.Shape1.right() - 60 - c.List3.left);
    // Its captions may be wider than the list, never wider than the window.
    const double clientRight = twips::FromPixels(width()) - 60;
    for (TwipRect* r : {&c.Label11, &c.Label1, &c.Label12})
        r->width = std::min(r->width, clientRight - r->left);
    // The previewed file's name may use the room up to the frame's edge.
    c.Label9.width = std::max(c.Label9.width, c.Shape1.right() - 120 - c.Label9.left);
    Place(Frame2, c.Frame2);
    Place(Label10, c.Label10);
    Place(Combo1, c.Combo1);
    Place(Check8, c.Check8);
    Place(Label8, c.Label8);
    Place(Frame1, c.Frame1);
    for (int i = 0; i < filetypes::Count; ++i) Place(boxes[i], c.TypeBox[i]);
    Place(All_Check, c.All_Check);
    Place(Command1, c.Command1);
    Place(Command6, c.Command6);
    Place(Shape1, c.Shape1);
    Place(Label2, c.Label2);
    Place(Drive1, c.Drive1);
    Place(Label3, c.Label3);
    Place(Label6, c.Label6);
    Place(Dir1, c.Dir1);
    Place(Label4, c.Label4);
    Place(File1, c.File1);
    Place(Label13, c.Label13);
    Place(Label14, c.Label14);
    Place(Label12, c.Label12);
    Place(Label1, c.Label1);
    Place(Label11, c.Label11);
    Place(List3, c.List3);
    Place(Shape2, c.Shape2);
    Place(Image1, c.Image1);
    Place(Label9, c.Label9);
    Place(View, c.View);
    ShowDir1Current();
    update();
}

void Form1::paintEvent(QPaintEvent* event) {
    FormBase::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1.5));
    const double head = 5;  // pixels
    auto arrow = [&](double y, double from, double to) {
        const QPointF a(twips::ToPixels(from), twips::ToPixels(y));
        const QPointF b(twips::ToPixels(to), twips::ToPixels(y));
        const double dir = to > from ? -1 : 1;
        p.drawLine(a, b);
        p.drawLine(b, b + QPointF(dir * head, -head));
        p.drawLine(b, b + QPointF(dir * head, head));
    };
    arrow(layout_.addArrowY, layout_.addArrowFrom, layout_.addArrowTo);
    arrow(layout_.removeArrowY, layout_.removeArrowFrom, layout_.removeArrowTo);
}

// ---- Browsing ----

void Form1::ShowDrive(const QString& drive) {
    const QSignalBlocker block(Drive1);
    int i = Drive1->findText(drive);
    if (i < 0) {
        Drive1->addItem(drive);
        i = Drive1->count() - 1;
    }
    Drive1->setCurrentIndex(i);
}

bool Form1::PointDir1(const QString& path, FsError* error) {
    FsError err = FsError::None;
    platform().fs->ListFiles(path, "*", &err);
    if (error) *error = err;
    if (err != FsError::None) return false;
    SelectInTree(path);
    Dir1Highlighted.clear();
    if (path == Dir1Path) return true;
    Dir1Path = path;
    Dir1_Change();
    return true;
}

void Form1::SelectInTree(const QString& path) {
    const QModelIndex index = Dir1Model->IndexOf(path);
    if (!index.isValid()) return;
    selectingDir1_ = true;
    Dir1->setCurrentIndex(index);
    ShowDir1Current();
    selectingDir1_ = false;
}

void Form1::Dir1_Click(const QString& path) {
    // A folder that cannot be browsed stays highlighted in the tree: "Add"
    // takes that one, and says why it cannot be added.
    if (!PointDir1(path)) Dir1Highlighted = path;
}

void Form1::Dir1_Change() {
    if (Dir1Path != File1Path) {
        ClearPreview();
    } else if (All_Check->checkState() != Qt::Checked) {
        const int box = filetypes::BoxOfExtension(Label9->text());
        if (box < 0 || TypeBoxes()[box]->checkState() != Qt::Checked) ClearPreview();
    }
    // A place of the list (home, pictures) stays shown while the browser is
    // inside it, unless a volume mounted deeper holds the folder.
    const QString drive = platform().fs->DriveOf(Dir1Path);
    const QString shown = Drive1->currentText();
    if (drive != shown && !(Holds(shown, Dir1Path) && Holds(drive, shown))) ShowDrive(drive);
    File1Path = Dir1Path;
    ListFile1();
    const QString caption = filenames::Shown(Dir1Path);
    Label6->setText(Label6->hasFocus() ? caption : ShortenPathCaption(caption, 26));
    Label4->setText(tr("Files: %1").arg(File1->count()));
}

void Form1::ShowDir1Current() {
    const QModelIndex index = Dir1->currentIndex();
    if (!index.isValid()) return;
    Dir1->scrollTo(index);
    // The tree scrolls up and down by itself; a deep folder's name also
    // needs the view moved sideways, or its row shows blank.
    Dir1->resizeColumnToContents(0);
    Dir1->doItemsLayout();
    const QRect r = Dir1->visualRect(index);
    const int room = Dir1->viewport()->width();
    if (r.left() >= 0 && r.left() <= room * 2 / 3) return;
    QScrollBar* bar = Dir1->horizontalScrollBar();
    bar->setValue(bar->value() + r.left() - Dir1->indentation());
}

void Form1::ShowLabel6AsCaption(bool caption) {
    // On the window's ground like the other captions; a field while edited.
    QPalette p = QApplication::palette(Label6);
    if (caption) p.setColor(QPalette::Base, p.color(QPalette::Window));
    Label6->setPalette(p);
}

void Form1::Label6_Enter() {
    const QString typed = Label6->text().trimmed();
    if (typed.isEmpty()) return;
    const QString path = FolderFromTyped(typed, Dir1Path, QDir::homePath());
    FileSystem& fs = *platform().fs;
    if (!fs.IsFolder(path)) {
        platform().dialogs->Info("Tavimo", fs.IsFile(path)
                                               ? tr("%1 is a file, not a folder.").arg(path)
                                               : tr("There is no folder %1.").arg(path));
        return;
    }
    FsError err = FsError::None;
    if (!PointDir1(path, &err)) {
        platform().dialogs->Info(
            "Tavimo",
            tr("The folder %1 cannot be opened (%2).").arg(path, FolderError(err).description));
        return;
    }
    Dir1->setFocus(Qt::OtherFocusReason);  // back to the caption's short form
}

void Form1::ListFile1() {
    const QSignalBlocker block(File1);
    File1->clear();
    // A name that is no UTF-8 is shown with U+FFFD and kept with its bytes.
    for (const QString& name : platform().fs->ListFiles(File1Path, File1Pattern)) {
        auto* item = new QListWidgetItem(filenames::Shown(name), File1);
        item->setData(Qt::UserRole, name);
    }
}

void Form1::Drive1_Change() {
    const QString drive = Drive1->currentText();
    FsError err = FsError::None;
    if (PointDir1(drive, &err)) return;
    platform().dialogs->Info("Tavimo", FolderError(err).description);
    ShowDrive(StartDrive);
    PointDir1(StartDrive);
}

// ---- The folder list ----

void Form1::List3_Click() {
    const int row = List3->currentRow();
    if (row < 0) return;
    for (;;) {
        const QString path = List3->item(row)->text();
        Label11->setText(ShortenPathCaption(path, 29));
        FsError err = FsError::None;
        if (PointDir1(path, &err)) return;
        if (err != FsError::DeviceUnavailable) return;  // anything else ends quietly
        if (platform().dialogs->AskYesNo(tr("Device Unavalable"), tr("Retry"))) continue;
        RemoveFolderRow(row);
        const ErrorInfo e = FolderError(err);
        platform().dialogs->Info("Tavimo", QString::number(e.number) + " " + e.description);
        ShowDrive(platform().fs->DriveOf(Paths().GraphicsFolder()));
        PointDir1(Paths().GraphicsFolder());
        return;
    }
}

void Form1::List3_ItemCheck() {
    List3->update();
    if (LoadComplete) ScanFolders();
}

void Form1::Label13_Click() {
    const QString path = Dir1Highlighted.isEmpty() ? Dir1Path : Dir1Highlighted;
    if (path.isEmpty()) return;
    const auto refuse = [&path](const QString& why) {
        platform().dialogs->Info(
            "Tavimo", tr("The folder %1 cannot be added: %2").arg(dirlist::Printable(path), why));
    };
    if (const QString odd = dirlist::UnstorableReason(path); !odd.isEmpty()) {
        refuse(tr("its name contains %1, which the folder list cannot store. Rename the folder or "
                  "choose another one.")
                   .arg(odd));
        return;
    }
    if (!Dir1Highlighted.isEmpty()) {
        FsError err = FsError::None;
        platform().fs->ListFiles(path, "*", &err);
        if (err != FsError::None) {
            refuse(tr("it cannot be read (%1).").arg(FolderError(err).description));
            return;
        }
    }
    for (int i = 0; i < List3->count(); ++i)
        if (List3->item(i)->text() == path) return;
    auto* item = new QListWidgetItem(path);
    item->setToolTip(PlainToolTip(path));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
    {
        // The entries move down one: no new choice of the highlighted one,
        // so the browser and the preview stay where the player left them.
        const QSignalBlocker block(List3->selectionModel());
        List3->insertItem(0, item);
    }
    item->setCheckState(Qt::Checked);  // the check change rescans
}

void Form1::Label14_Click() {
    const int row = List3->currentRow();
    if (List3->count() > 1 && row >= 0 && List3->item(row)->isSelected()) RemoveFolderRow(row);
    ScanFolders();
}

// ---- Files and the preview ----

void Form1::ClearPreview() {
    PreviewDecoding.Cancel();
    Image1->unsetCursor();
    Label9->clear();
    ClearPreviewPicture();
}

void Form1::ClearPreviewPicture() {
    Image1->clear();
    picturefile::Remember(Image1, QString());
    Image1Picture.reset();
}

void Form1::LoadPreview(bool tellFailure) {
    // Busy meanwhile: no picture stands for the new name, here or in the
    // viewer; the decode runs away from the window, a newer click cancels it.
    ClearPreviewPicture();
    Image1->setCursor(Qt::BusyCursor);
    const QString path = FileSystem::Join(File1Path, SelectedFile);
    // Decoded for the screen's density, as the cards are, so a dense screen
    // shows it sharp.
    const double dpr = Image1->devicePixelRatioF();
    const QSize size = cardpicture::ToDevice(Image1->size(), dpr);
    const std::shared_ptr<PictureLoader> loader = platform().pictures;
    PreviewDecoding.Start([loader, path, size] { return loader->Load(path, size); },
                          [this, path, dpr, tellFailure](std::optional<Picture> picture) {
                              Image1->unsetCursor();
                              PreviewDone(path, dpr, std::move(picture), tellFailure);
                          });
}

void Form1::PreviewDone(const QString& path, double dpr, std::optional<Picture> picture,
                        bool tellFailure) {
    if (picture) {
        // At the preview's own device size, so the label draws it 1:1 and a
        // small icon stays sharp.
        QPixmap pixmap = QPixmap::fromImage(
            cardpicture::ScaledForArea(picture->image, cardpicture::ToDevice(Image1->size(), dpr)));
        pixmap.setDevicePixelRatio(dpr);
        Image1->setPixmap(pixmap);
        picturefile::Remember(Image1, path);  // the viewer decodes it again at full size
        Image1Picture = std::move(picture);
        Label9->show();
        return;
    }
    Label9->hide();
    if (!tellFailure) return;
    const bool missing = !platform().fs->IsFile(path);
    const ErrorInfo e = missing ? FileError(FsError::NotFound) : InvalidPicture();
    platform().dialogs->Info("Tavimo", e.description + " " + QString::number(e.number));
    if (missing) {
        // The file went away: show the folders and files as they are now.
        Dir1Model->Refresh();
        SelectInTree(Dir1Path);
        ListFile1();
        Label4->setText(tr("Files: %1").arg(File1->count()));
        ScanFolders();
    }
}

void Form1::File1_Click() {
    QListWidgetItem* item = File1->currentItem();
    if (!item) return;
    SelectedFile = item->data(Qt::UserRole).toString();
    if (PreviewState != -1 || !item->isSelected()) return;
    Label9->setText(filenames::Shown(SelectedFile));
    LoadPreview(true);
}

void Form1::View_Click() {
    // The box's own mark says on or off, so the two never disagree, however
    // the box was set.
    PreviewState = View->checkState() == Qt::Unchecked ? 1 : -1;
    if (PreviewState == 1) {
        Image1->hide();
        Label9->hide();
        return;
    }
    Image1->show();
    if (!SelectedFile.isEmpty() && filenames::Shown(SelectedFile) != Label9->text()) {
        Label9->setText(filenames::Shown(SelectedFile));
        // No message here; an old picture must not stand for the new name.
        LoadPreview(false);
    }
    Label9->setVisible(Image1Picture.has_value());
}

void Form1::Image1_Click() {
    // An empty preview (a file that did not load) has nothing to show.
    if (SelectedFile.isEmpty() || !Image1Picture) return;
    // The caption names the file whose picture the viewer shows; the viewer
    // covers the game window and brings this window back when it closes.
    Form3& viewer = Forms::Get<Form3>(ViewerPicture{QFileInfo(Image1Picture->file).fileName(),
                                                    Image1Picture->file, Image1Picture->image},
                                      gamewindow::Link(Forms::IfLoaded<Form2>()));
    connect(&viewer, &Form3::closed, this, &QWidget::show, Qt::UniqueConnection);
    viewer.show();
    QCoreApplication::processEvents();
    hide();
}

// ---- Board size ----

bool Form1::Combo1_KeyPress(QChar key, bool isBackspace) {
    QLineEdit* edit = Combo1->lineEdit();
    return BoardSizeKeyAccepted(key, isBackspace, static_cast<int>(edit->text().size()),
                                edit->hasSelectedText());
}

void Form1::Combo1_LostFocus() {
    const QString text = BoardSizeOnLeave(Combo1->currentText());
    if (text != Combo1->currentText()) Combo1->setEditText(text);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    // Return in the path box browses the typed folder and goes no further:
    // it must not also press OK.
    if (watched == Label6 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Label6_Enter();
            return true;
        }
    }
    if (watched == Label6 &&
        (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        const QString caption = ShortenPathCaption(filenames::Shown(Dir1Path), 26);
        // A message box or a menu coming and going keeps what is being typed.
        const Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
        const bool passing = why == Qt::ActiveWindowFocusReason || why == Qt::PopupFocusReason;
        if (event->type() == QEvent::FocusIn) {
            if (Label6->text() == caption) Label6->setText(filenames::Shown(Dir1Path));
            ShowLabel6AsCaption(false);
        } else if (!passing) {
            Label6->setText(caption);
            Label6->setCursorPosition(0);
            ShowLabel6AsCaption(true);
        }
        return FormBase::eventFilter(watched, event);
    }
    if (watched == Combo1 || watched == Combo1->lineEdit()) {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            // Editing commands (copy, paste, undo) and moving keys are no typing.
            if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
                return false;
            const bool backspace = key->key() == Qt::Key_Backspace;
            const QString text = key->text();
            if (!backspace && (text.isEmpty() || !text[0].isPrint())) return false;
            return !Combo1_KeyPress(text.isEmpty() ? QChar() : text[0], backspace);
        }
        if (event->type() == QEvent::FocusOut &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            Combo1_LostFocus();
    }
    return FormBase::eventFilter(watched, event);
}

// ---- For the game window ----

Form2& Form1::Game() {
    if (Form2* game = Forms::IfLoaded<Form2>()) return *game;
    Form2& game = Forms::Get<Form2>(static_cast<configwindow::Window&>(*this));
    connect(&game, &Form2::newBoardWanted, this, &Form1::Command1_Click);
    connect(&game, &Form2::configurationWanted, this, [this](bool relayout) {
        if (relayout) Resize();
        ShowOnTop();
    });
    connect(&game, &Form2::choiceWanted, this, &Form1::ShowForChoice);
    return game;
}

QString Form1::BoardSizeText() const {
    return Combo1->currentText();
}

QStringList Form1::BoardSizeChoices() const {
    QStringList sizes;
    for (int i = 0; i < Combo1->count(); ++i) sizes.append(Combo1->itemText(i));
    return sizes;
}

void Form1::SetBoardSizeText(const QString& text) {
    Combo1->setEditText(text);
}

bool Form1::ViewChecked() const {
    return View->checkState() == Qt::Checked;
}

void Form1::ShowOnTop() {
    StayAbove(Forms::IfLoaded<Form2>());
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    // A splash still up has no frame to bring the configuration back with.
    if (frmSplash* splash = Forms::IfLoaded<frmSplash>()) splash->lower();
    raise();
    activateWindow();
    Combo1->setFocus();
}

void Form1::ShowForChoice(const QPoint& gameFrame) {
    Module1.FileTypeSnapshot = TakeFileTypeSnapshot();
    // A window that was shown and hidden again has no frame until the window
    // manager frames it anew, and is placed by its inner area meanwhile: its
    // title bar would land a frame's height above the place. The game
    // window's frame tells how far the inner area must go.
    const bool placedByInnerArea =
        testAttribute(Qt::WA_WState_Created) && frameGeometry() == geometry();
    Resize();
    if (placedByInnerArea) move(pos() + gameFrame);
    // Over the game window, which stays where it is.
    StayAbove(Forms::IfLoaded<Form2>());
    show();
    Combo1->setFocus();
}

// ---- Leaving ----

void Form1::ShowGameWindow() {
    // When no board was dealt yet this brings up a fresh game window, whose
    // menus lead back here or out of the program.
    Form2& game = Game();
    game.show();
    game.BringBack();
}

void Form1::Command6_Click() {
    RestoreFileTypes();
    ShowGameWindow();
    hide();
}

bool Form1::Form_Unload() {
    RestoreFileTypes();
    ShowGameWindow();
    // The close is refused: the window stays, in front of the game window
    // just brought up, not behind it.
    raise();
    activateWindow();
    return true;
}
