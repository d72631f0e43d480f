// Which interface language a locale gets, and whether the English texts are
// all there and say what their Russian sources say.
#include <QFile>
#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

#include "ui/app/language.h"

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

    // Every text has its English one, with the same placeholders and line breaks,
    // and none is left in Russian.
    void englishTextsAreComplete()
    {
        QFile file(QString::fromUtf8(VESK_SOURCE_DIR "/ui/i18n/vesk_en.ts"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QString source;
        int count = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"source") {
                source = xml.readElementText();
            } else if (xml.name() == u"translation") {
                const bool finished = xml.attributes().value(QStringLiteral("type")).isEmpty();
                const QString english = xml.readElementText();
                QVERIFY2(finished && !english.isEmpty(), qPrintable(source));
                QCOMPARE(Placeholders(english), Placeholders(source));
                QCOMPARE(english.count(u'\n'), source.count(u'\n'));
                QVERIFY2(!english.contains(QRegularExpression(QStringLiteral("\\p{Cyrillic}"))),
                         qPrintable(english));
                ++count;
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(count > 50);
        // And the build carries them.
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral("vesk_en"), QStringLiteral(":/i18n")));
        QCOMPARE(translator.translate("TfMain", "Безымянный"), QStringLiteral("Untitled"));
    }

private:
    static QStringList Placeholders(const QString& text)
    {
        QStringList found;
        auto matches = QRegularExpression(QStringLiteral("%\\d")).globalMatch(text);
        while (matches.hasNext())
            found << matches.next().captured();
        found.sort();
        return found;
    }
};

QTEST_GUILESS_MAIN(TLanguageTest)
#include "tst_language.moc"
