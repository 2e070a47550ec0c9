#include "scores/Form4.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QPixmap>
#include <QToolTip>
#include <algorithm>

#include "app/AssetPaths.h"
#include "app/GamePaths.h"
#include "app/Module1.h"
#include "pictures/PictureLoader.h"
#include "platform/FileSystem.h"
#include "platform/Numbers.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"
#include "platform/Twips.h"
#include "scores/Faces.h"
#include "scores/HighScoreTable.h"
#include "scores/ScoreTableMirror.h"
#include "ui/AccessibleControls.h"
#include "ui/FormPlacement.h"
#include "ui/PlayerText.h"

namespace {

using highscores::Face;

// A label with a transparent background, so the trophy shows through; text
// starts at the top like every caption of the game.
QLabel* MakeLabel(QWidget* parent, const QString& text, const QFont& font, const QColor& colour,
                  Qt::Alignment align = Qt::AlignLeft) {
    auto* l = new QLabel(text, parent);
    l->setTextFormat(Qt::PlainText);  // names are shown as typed
    l->setFont(font);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, colour);
    l->setPalette(p);
    l->setAlignment(align | Qt::AlignTop);
    l->setAutoFillBackground(false);
    return l;
}

}  // namespace

Form4::Form4() {
    setWindowTitle(tr("High Scores"));
    resize(twips::ToPixels(highscores::design::ClientWidth),
           twips::ToPixels(highscores::design::ClientHeight));

    Image1 = new QLabel(this);
    Image1->setScaledContents(true);
    Image1->setAccessibleName(tr("Trophy"));
    Table = new ScoreTableMirror(this);
    // The trophy drawn for the screen's density; the label scales it to its
    // size in device pixels.
    int scale = 1;
    if (auto pic = platform().pictures->Load(
            assets::CompiledFor(assets::Trophy, devicePixelRatioF(), &scale))) {
        QPixmap trophy = QPixmap::fromImage(pic->image);
        trophy.setDevicePixelRatio(scale);
        Image1->setPixmap(trophy);
    }

    const QFont title = Face(false, 18, true);
    const QFont heading = Face(false, 12, true);
    const QFont column = Face(true, 12, true);
    const QColor black(0, 0, 0), navy(0, 0, 192), olive(64, 64, 0), white(255, 255, 255),
        blue(0, 0, 255);

    Label1 = MakeLabel(this, tr("High Scores"), title, black);
    Label2 = MakeLabel(this, tr("RANK"), heading, black);
    Label6 = MakeLabel(this, tr("NAME"), heading, navy);
    Label7 = MakeLabel(this, tr("BOARD"), heading, olive);
    Label8 = MakeLabel(this, tr("TIME"), heading, white);
    Label9 = MakeLabel(this, tr("SCORE"), heading, blue);
    // So narrow that each number wraps onto a line of its own.
    Label3 = MakeLabel(this, "1 2 3 4 5 6 7 8 9 10", column, black);
    Label3->setWordWrap(true);
    Label4 = MakeLabel(this, QString(), column, navy);
    Label10 = MakeLabel(this, QString(), column, black, Qt::AlignRight);
    Label11 = MakeLabel(this, QString(), column, white, Qt::AlignRight);
    Label5 = MakeLabel(this, QString(), column, blue, Qt::AlignRight);

    Label4->installEventFilter(this);

    OK = new QPushButton(tr("OK"), this);
    OK->setFont(Face(false, 8.25, true));
    connect(OK, &QPushButton::clicked, this, [this] { OK_Click(); });
    SetKeyButtons(OK, OK);

    // The table a screen reader reads is not drawn: while it has the focus,
    // its current row is framed on the columns the window draws.
    Cue = new accessible::FocusCue(Table, this, [this] { return RowArea(Table->currentRow()); });
    connect(Table, &QTableWidget::currentCellChanged, Cue, &accessible::FocusCue::Refresh);

    Layout = highscores::DesignedForm4();
    PlaceControls();
}

QRect Form4::RowArea(int row) const {
    const int line = QFontMetrics(Label4->font()).lineSpacing();
    const int top = Label4->y() + Label4->contentsRect().top();
    int right = Label4->geometry().right();
    for (const QLabel* column : {Label10, Label11, Label5})
        right = std::max(right, column->geometry().right());
    const QRect rows(QPoint(Label3->x(), top), QPoint(right, top + line * highscores::Rows - 1));
    if (row < 0 || row >= highscores::Rows) return rows.adjusted(-3, -2, 3, 2);
    return QRect(rows.left(), top + row * line, rows.width(), line).adjusted(-3, -1, 3, 1);
}

void Form4::Form_Load() {
    Best();
}

void Form4::Best() {
    highscores::LoadBest(Module1);
    ShowColumns();
}

void Form4::Add_Score() {
    QString error;
    const bool ranked = Module1.HighScoreRank >= 1 && Module1.HighScoreRank <= highscores::Rows;
    if (!highscores::AddScore(Module1, &error)) {
        platform().dialogs->Info(
            "Tavimo", textfile::SaveFailedMessage(highscores::PathIn(Paths().DataFolder()), error));
    } else if (ranked && Module1.HighScoreRank == -1) {
        // Another copy of the game saved better totals while the name was typed.
        platform().dialogs->Info("Tavimo",
                                 tr("Your total of %1 no longer makes the high-score table: "
                                    "another game of Tavimo saved ten better totals meanwhile.")
                                     .arg(num::Text(Module1.TotalScore)));
    }
    ShowColumns();
}

void Form4::ShowColumns() {
    const highscores::Table table = highscores::FromRecord(Module1);
    const highscores::Columns c = highscores::ColumnTexts(table);
    // A name wider than its column ends in an ellipsis instead of being cut
    // mid-letter by the next column; its row's tool tip shows it whole.
    FullNames = QStringList(table.Names.begin(), table.Names.end());
    const QFontMetrics metrics(Label4->font());
    QStringList shown;
    for (const QString& name : FullNames)
        shown << metrics.elidedText(name, Qt::ElideRight, Label4->contentsRect().width());
    Label4->setText(shown.join('\n'));
    Label10->setText(c.Boards);
    Label11->setText(c.Times);
    Label5->setText(c.Scores);
    Table->Show(table);
}

void Form4::Resize() {
    const Module1Record& m = Module1;
    Layout = highscores::LayoutForm4(m.WindowLeft, m.WindowTop, m.WindowWidth, m.WindowHeight);

    // The game window's outer rectangle, as the record keeps it.
    placement::SetOuterRect(this, Layout.Window);

    PlaceControls();
}

void Form4::PlaceControls() {
    using placement::Place;
    Place(Image1, Layout.Image1);
    Place(Label1, Layout.Label1);
    Place(Label2, Layout.Label2);
    Place(Label3, Layout.Label3);
    Place(Label4, Layout.Label4);
    Place(Label5, Layout.Label5);
    Place(Label6, Layout.Label6);
    Place(Label7, Layout.Label7);
    Place(Label8, Layout.Label8);
    Place(Label9, Layout.Label9);
    // A heading longer in another language than the design's grows to the
    // right, into the gap before the next column.
    for (QLabel* heading : {Label2, Label6, Label7, Label8, Label9})
        heading->resize(std::max(heading->width(), heading->sizeHint().width()), heading->height());
    // The title grows about its centre.
    if (const int grow = Label1->sizeHint().width() - Label1->width(); grow > 0)
        Label1->setGeometry(Label1->geometry().adjusted(-(grow + 1) / 2, 0, grow / 2, 0));
    Place(Label10, Layout.Label10);
    Place(Label11, Layout.Label11);
    Place(OK, Layout.OK);
    if (Cue) Cue->Refresh();
}

QString Form4::NameAt(QPoint pos) const {
    const int line = QFontMetrics(Label4->font()).lineSpacing();
    const int row = (pos.y() - Label4->contentsRect().top()) / std::max(1, line);
    if (pos.y() < 0 || row >= FullNames.size()) return {};
    return FullNames[row];
}

bool Form4::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label4 && event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString name = NameAt(help->pos());
        if (name.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), PlainToolTip(name), Label4);
        return true;
    }
    return FormBase::eventFilter(watched, event);
}

void Form4::OK_Click() {
    Forms::Unload(this);
}

bool Form4::Form_Unload() {
    emit closed();
    return false;
}
