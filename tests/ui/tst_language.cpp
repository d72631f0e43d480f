// Which interface language a locale gets.
#include <QtTest>

#include "ui/language.h"

class TLanguageTest : public QObject {
    Q_OBJECT
private slots:
    void localeChoosesLanguage_data()
    {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<bool>("english");
        // As QLocale::system().uiLanguages() reports them for LANG / LANGUAGE.
        QTest::newRow("C") << QStringList{"C"} << false;
        QTest::newRow("none") << QStringList{} << false;
        QTest::newRow("POSIX") << QStringList{"POSIX"} << false;
        QTest::newRow("ru_RU") << QStringList{"ru-RU", "ru-Cyrl-RU", "ru"} << false;
        QTest::newRow("ru_UA") << QStringList{"ru-UA", "ru"} << false;
        QTest::newRow("en_US") << QStringList{"en-US", "en-Latn-US", "en"} << true;
        QTest::newRow("de_DE") << QStringList{"de-DE", "de-Latn-DE", "de"} << true;
        QTest::newRow("uk_UA") << QStringList{"uk-UA", "uk"} << true;
        // LANGUAGE=ru:en under an English locale: the first preference wins.
        QTest::newRow("LANGUAGE ru:en") << QStringList{"ru", "ru-RU", "en", "en-US"} << false;
        QTest::newRow("LANGUAGE en:ru") << QStringList{"en", "en-US", "ru", "ru-RU"} << true;
    }
    void localeChoosesLanguage()
    {
        QFETCH(QStringList, uiLanguages);
        QFETCH(bool, english);
        QCOMPARE(ChooseInterfaceLanguage(uiLanguages) == TInterfaceLanguage::English, english);
    }
};

QTEST_GUILESS_MAIN(TLanguageTest)
#include "tst_language.moc"
