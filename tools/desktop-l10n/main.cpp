// Writes the menu entry and the metainfo with their translations: every
// text below comes from the game's catalogues (context "Desktop"), so one
// set of .ts files holds all the player reads, and `make translations`
// finds these texts here.
//
//   desktop-l10n <desktop in> <desktop out> <metainfo in> <metainfo out> <lang>=<qm>...
//
// A text of the files that is not listed here fails the build: it would
// stay English in every language.
#include <QCoreApplication>
#include <QFile>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QTranslator>
#include <cstdio>
#include <memory>
#include <utility>

namespace {

const char* const Texts[] = {
    // The menu entry: Name, GenericName, Comment, Keywords (each ends in ";").
    QT_TRANSLATE_NOOP("Desktop", "Tavimo"),
    QT_TRANSLATE_NOOP("Desktop", "Memory Card Game"),
    QT_TRANSLATE_NOOP("Desktop", "Turn the cards and find the pairs, with your own pictures"),
    QT_TRANSLATE_NOOP("Desktop", "memory;pairs;concentration;cards;pictures;"),
    // The metainfo: summary, description, screenshot captions.
    QT_TRANSLATE_NOOP("Desktop", "Find the pairs among cards showing your own pictures"),
    QT_TRANSLATE_NOOP("Desktop",
                      "Tavimo is a memory card game. The cards are dealt face down; turn two at "
                      "a time and find the pairs. Each board is timed, and the quickest players "
                      "of the larger boards make it onto the high-score table."),
    QT_TRANSLATE_NOOP("Desktop", "Features:"),
    QT_TRANSLATE_NOOP("Desktop", "Boards of 4 to 40 pairs"),
    QT_TRANSLATE_NOOP("Desktop",
                      "Card faces from the picture folders you choose: BMP, GIF, JPEG, icons and "
                      "metafiles"),
    QT_TRANSLATE_NOOP("Desktop", "Several card backs, sounds, and a pause key"),
    QT_TRANSLATE_NOOP("Desktop", "A picture viewer to look at a card's picture in full"),
    QT_TRANSLATE_NOOP("Desktop", "A board of eight pairs in play"),
    QT_TRANSLATE_NOOP("Desktop", "Choosing the picture folders and the board size"),
};

using Languages = QList<std::pair<QString, std::shared_ptr<QTranslator>>>;

bool Known(const QString& text) {
    for (const char* t : Texts)
        if (text == QLatin1String(t)) return true;
    return false;
}

QString Unescape(QString s) {
    return s.replace("&lt;", "<")
        .replace("&gt;", ">")
        .replace("&quot;", "\"")
        .replace("&apos;", "'")
        .replace("&amp;", "&");
}

QString Escape(const QString& s) {
    return s.toHtmlEscaped();
}

bool Fail(const QString& why) {
    std::fprintf(stderr, "desktop-l10n: %s\n", qPrintable(why));
    return false;
}

bool Read(const QString& path, QStringList* lines) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return Fail(path + ": cannot be read");
    *lines = QString::fromUtf8(f.readAll()).split(u'\n');
    return true;
}

bool Write(const QString& path, const QStringList& lines) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(lines.join(u'\n').toUtf8()) < 0)
        return Fail(path + ": cannot be written");
    return true;
}

// Name=, GenericName=, Comment= and Keywords= get a Key[lang]= line each.
bool Desktop(const QStringList& in, const Languages& langs, QStringList* out) {
    static const QRegularExpression key(
        QStringLiteral("^(Name|GenericName|Comment|Keywords)=(.*)$"));
    for (const QString& line : in) {
        out->append(line);
        const auto m = key.match(line);
        if (!m.hasMatch()) continue;
        if (!Known(m.captured(2))) return Fail("not in the catalogue: " + m.captured(2));
        for (const auto& [lang, t] : langs) {
            const QString text = t->translate("Desktop", m.captured(2).toUtf8().constData());
            if (!text.isEmpty())
                out->append(QStringLiteral("%1[%2]=%3").arg(m.captured(1), lang, text));
        }
    }
    return true;
}

// One-line <name>, <summary>, <p>, <li> and <caption> elements get an
// xml:lang twin each; the release notes stay English.
bool Metainfo(const QStringList& in, const Languages& langs, QStringList* out) {
    static const QRegularExpression element(
        QStringLiteral("^(\\s*)<(name|summary|p|li|caption)>(.*)</\\2>$"));
    bool releases = false;
    for (const QString& line : in) {
        out->append(line);
        if (line.contains(QLatin1String("<releases>"))) releases = true;
        if (line.contains(QLatin1String("</releases>"))) releases = false;
        const auto m = element.match(line);
        if (releases || !m.hasMatch()) continue;
        const QString source = Unescape(m.captured(3));
        if (!Known(source)) return Fail("not in the catalogue: " + source);
        for (const auto& [lang, t] : langs) {
            const QString text = t->translate("Desktop", source.toUtf8().constData());
            if (!text.isEmpty())
                out->append(QStringLiteral("%1<%2 xml:lang=\"%3\">%4</%2>")
                                .arg(m.captured(1), m.captured(2), lang, Escape(text)));
        }
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) return Fail("usage: desktop in, out, metainfo in, out, lang=qm..."), 2;
    Languages langs;
    for (const QString& a : args.mid(5)) {
        auto t = std::make_shared<QTranslator>();
        if (!t->load(a.section(u'=', 1))) return Fail(a + ": cannot be loaded"), 1;
        langs.append({a.section(u'=', 0, 0), t});
    }
    QStringList desktop, metainfo, outDesktop, outMetainfo;
    const bool ok = Read(args[1], &desktop) && Read(args[3], &metainfo) &&
                    Desktop(desktop, langs, &outDesktop) &&
                    Metainfo(metainfo, langs, &outMetainfo) && Write(args[2], outDesktop) &&
                    Write(args[4], outMetainfo);
    return ok ? 0 : 1;
}
