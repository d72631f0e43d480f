// Which language the interface speaks: Russian, its source language, for a
// Russian or an unset (C/POSIX) locale, English for every other.
#pragma once

#include <QStringList>

class QCoreApplication;

enum class TInterfaceLanguage { Russian, English };

// uiLanguages: the user's preferred languages, first first, as
// QLocale::system().uiLanguages() gives them (LANGUAGE, then LC_ALL/LC_MESSAGES/LANG).
[[nodiscard]] TInterfaceLanguage ChooseInterfaceLanguage(const QStringList& uiLanguages);

// Installs the English texts for the windows and Russian or English texts for
// the toolkit's own buttons and dialogs, as the language asks.
void InstallInterfaceTranslators(QCoreApplication& app, TInterfaceLanguage language);
