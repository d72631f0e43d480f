#include "ui/app/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

TInterfaceLanguage ChooseInterfaceLanguage(const QStringList& uiLanguages)
{
    // The C and POSIX locales mean "nothing chosen": Qt reports them as
    // "C" or as plain English of the United States, the C locale's stand-in.
    if (uiLanguages.isEmpty())
        return TInterfaceLanguage::Russian;
    const QString first = uiLanguages.first();
    if (first == u"C" || first == u"POSIX")
        return TInterfaceLanguage::Russian;
    const QLocale locale(first);
    if (locale.language() == QLocale::Russian || locale.language() == QLocale::C)
        return TInterfaceLanguage::Russian;
    return TInterfaceLanguage::English;
}

void InstallInterfaceTranslators(QCoreApplication& app, TInterfaceLanguage language)
{
    if (language == TInterfaceLanguage::English) {
        // The windows' source texts are Russian; English comes from the build's own file.
        auto* windows = new QTranslator(&app);
        if (windows->load(QStringLiteral("vesk_en"), QStringLiteral(":/i18n")))
            QCoreApplication::installTranslator(windows);
    } else {
        // The toolkit's buttons and dialogs in Russian too, where installed;
        // its source texts are English already.
        auto* toolkit = new QTranslator(&app);
        if (toolkit->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(toolkit);
    }
}
