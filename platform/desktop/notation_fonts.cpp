#include "platform/desktop/notation_fonts.h"

#include "platform/desktop/prompts.h"
#include "platform/settings/program_folder.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMutex>
#include <QSet>

namespace tunvale::platform {

namespace {

QString songStyleFamily()
{
    const QStringList families = QFontDatabase::families();
    for (const QString& preferred : { QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW") }) {
        if (families.contains(preferred))
            return preferred;
    }
    for (const QString& family : families) {
        if (family.contains(QStringLiteral("UMing")))
            return family;
    }
    const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    return chinese.isEmpty() ? QString() : chinese.first();
}

} // namespace

const QStringList& notationFontFamilies()
{
    static const QStringList families { QStringLiteral("KORVA_Note"), QStringLiteral("KORVA_Note_Symbol"),
        QStringLiteral("KORVA_Note_yy"), QStringLiteral("KORVA_Note_yy1"), QStringLiteral("KORVA_Note_yy2"),
        QStringLiteral("KORVA_Note_yy3") };
    return families;
}

QStringList loadNotationFonts()
{
    // Qt's font database is process-wide: a file registered once stays registered, and registering it
    // again would only add a duplicate.
    static QMutex mutex;
    static QSet<QString> registered;
    QMutexLocker lock(&mutex);
    QStringList missing;
    for (const QString& family : notationFontFamilies()) {
        const QString path = ProgramFolder::dataPath(QStringLiteral("fonts/%1.ttf").arg(family));
        if (registered.contains(path))
            continue;
        if (QFontDatabase::addApplicationFont(path) < 0)
            missing << path;
        else
            registered.insert(path);
    }
    if (QFont::substitute(kSongFontName) == kSongFontName) {
        const QString song = songStyleFamily();
        if (!song.isEmpty())
            QFont::insertSubstitution(kSongFontName, song);
    }
    if (QFont::substitute(kSansFontName) == kSansFontName) {
        const QString sans = QStringLiteral("WenQuanYi Micro Hei");
        QFont::insertSubstitution(kSansFontName,
            QFontDatabase::families().contains(sans) ? sans : QFont::substitute(kSongFontName));
    }
    return missing;
}

void loadNotationFontsAtStartUp()
{
    const QStringList missing = loadNotationFonts();
    // The notation fonts hold notes at Chinese code points: Chinese text in menus and dialogs must fall
    // back to the Song font, never to one of them.
    QFont shown = QApplication::font();
    shown.setFamilies({ QFontInfo(shown).family(), kSongFontName });
    QApplication::setFont(shown);
    if (missing.isEmpty())
        return;
    Prompts::current().ask(PromptRequest {
        QStringLiteral("找不到简谱字体文件，简谱将不能正确显示：\n%1").arg(missing.join(QLatin1Char('\n'))),
        kProgramTitle, PromptIcon::Warning });
}

} // namespace tunvale::platform
