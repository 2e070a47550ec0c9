#include "app/Language.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

#include "platform/FileSystem.h"

namespace language {

namespace {
std::unique_ptr<QTranslator> ours, qts;
QString current = QStringLiteral("en");

QString CatalogueName(const QString& lang) {
    return QStringLiteral("tavimo_%1.qm").arg(lang);
}

void Remove() {
    for (std::unique_ptr<QTranslator>* t : {&ours, &qts}) {
        if (*t) QCoreApplication::removeTranslator(t->get());
        t->reset();
    }
    current = QStringLiteral("en");
}
}  // namespace

QString Folder(const QString& contentFolder) {
    return FileSystem::Join(contentFolder, QStringLiteral("translations"));
}

QString Choose(const QStringList& preferred, const QString& folder) {
    for (const QString& ui : preferred) {
        // "de-CH" and "de_DE.UTF-8" both speak "de".
        const QString lang = QLocale(ui).name().section(u'_', 0, 0);
        if (lang == u"en" || lang == u"C") return QStringLiteral("en");
        if (QFileInfo(FileSystem::Join(folder, CatalogueName(lang))).isFile()) return lang;
    }
    return QStringLiteral("en");
}

bool Install(const QString& lang, const QString& folder) {
    Remove();
    if (lang == u"en") return true;
    auto game = std::make_unique<QTranslator>();
    if (!game->load(FileSystem::Join(folder, CatalogueName(lang)))) return false;
    QCoreApplication::installTranslator(game.get());
    ours = std::move(game);
    current = lang;
    // Qt's own buttons (Yes, No, Cancel) in the same language, when installed.
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(QStringLiteral("qtbase_") + lang,
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt.get());
        qts = std::move(qt);
    }
    return true;
}

bool InstallSystem(const QString& folder) {
    return Install(Choose(QLocale::system().uiLanguages(), folder), folder);
}

QString Current() {
    return current;
}

QString LocalizedFile(const QString& folder, const QString& file) {
    if (current == u"en") return file;
    const QFileInfo info(file);
    const QString name = info.completeBaseName() + u'_' + current +
                         (info.suffix().isEmpty() ? QString() : u'.' + info.suffix());
    return QFileInfo(FileSystem::Join(folder, name)).isFile() ? name : file;
}

}  // namespace language
