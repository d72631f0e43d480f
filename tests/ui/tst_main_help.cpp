// The help commands: the built-in language guide, and what F1 and "Сайт
// программы" do when no browser can be started.
#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include "mainfixture.h"
#include "modalhelper.h"
#include "ui/guide.h"
#include "ui/website.h"

namespace {

TfGuide* GuideOf(const TfMain& window)
{
    return window.findChild<TfGuide*>(QString(), Qt::FindDirectChildrenOnly);
}

QString ShownGuideText(const TfMain& window)
{
    const TfGuide* guide = GuideOf(window);
    return guide && guide->isVisible() ? Child<QTextBrowser>(*guide, "mGuideText")->toPlainText()
                                       : QString();
}

} // namespace

// The desktop's opener as the IDE finds it on PATH: a script of the test's own
// making, or none at all. PATH comes back when it goes.
class TOpenerOnPath {
public:
    explicit TOpenerOnPath(const QByteArray& script = {}) : _path(qgetenv("PATH"))
    {
        if (!script.isEmpty()) {
            QFile opener(_dir.filePath(QStringLiteral("xdg-open")));
            QVERIFY(opener.open(QIODevice::WriteOnly));
            opener.write(script);
            opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", QFile::encodeName(_dir.path()));
    }
    ~TOpenerOnPath() { qputenv("PATH", _path); }
    TOpenerOnPath(const TOpenerOnPath&) = delete;
    TOpenerOnPath& operator=(const TOpenerOnPath&) = delete;

private:
    QByteArray _path;
    QTemporaryDir _dir;
};

// A desktop that has no browser: there is no opener, and the handler it calls
// does not exist, so opening any https address fails the way a missing browser
// makes it fail.
class TNoBrowser : public QObject {
    Q_OBJECT
public:
    TNoBrowser()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "NoBrowserHere");
    }
    ~TNoBrowser() override { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }

private:
    TOpenerOnPath _noOpener;

public:
    static void ExpectFailures(int count)
    {
        for (int i = 0; i < count; ++i)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("NoBrowserHere")));
    }
};

class TestMainHelp : public QObject {
    Q_OBJECT
private slots:
    void guideIsTheReadmeLanguageSection();
    void guideItemOpensOneGuideWindow();
    void withoutBrowserF1SaysSoAndOpensGuide();
    void withoutBrowserSiteSaysSoOnly();
    void openerThatFailsCountsAsNoBrowser();
};

void TestMainHelp::guideIsTheReadmeLanguageSection()
{
    QFile readme(QStringLiteral(VESK_SOURCE_DIR "/README.md"));
    QVERIFY(readme.open(QIODevice::ReadOnly));
    const QString whole = QString::fromUtf8(readme.readAll());
    const QString guide = TfGuide::Text();
    QVERIFY(guide.startsWith(QStringLiteral("## The Vesk language\n")));
    QVERIFY(whole.contains(guide));
    // It runs to the next section of its level, the subsections included.
    QVERIFY(guide.contains(QStringLiteral("\n### Conditions\n")));
    QVERIFY(guide.contains(QStringLiteral("«Неизвестный символ.»")));
    const qsizetype next = whole.indexOf(QStringLiteral("\n## "), whole.indexOf(guide) + 1);
    QVERIFY(next > 0);
    QCOMPARE(whole.indexOf(guide) + guide.size(), next + 1);
}

void TestMainHelp::guideItemOpensOneGuideWindow()
{
    auto window = ShowMainWindow();
    auto* item = Child<QAction>(*window, "nGuideItem");
    item->trigger();
    TfGuide* guide = GuideOf(*window);
    QVERIFY(guide);
    QVERIFY(guide->isWindow());
    QCOMPARE(guide->windowTitle(), QStringLiteral("Описание языка"));
    // Shown as rendered Markdown: headings and tables lose their marks.
    const QString text = ShownGuideText(*window);
    QVERIFY(text.startsWith(QStringLiteral("The Vesk language\n")));
    QVERIFY(text.contains(QStringLiteral("select cell XXXX as the current cell")));
    QVERIFY(!text.contains(QStringLiteral("|---|")));
    QVERIFY(!text.contains(QStringLiteral("**")));

    guide->close();
    item->trigger();
    QCOMPARE(window->findChildren<TfGuide*>().size(), 1);
    QVERIFY(guide->isVisible());
}

void TestMainHelp::withoutBrowserF1SaysSoAndOpensGuide()
{
    TNoBrowser noBrowser;
    auto window = ShowMainWindow();
    TModalScript script;
    script.Answer(QMessageBox::Ok);
    TNoBrowser::ExpectFailures(1);
    QTest::keyClick(Editor(*window), Qt::Key_F1);
    QTRY_VERIFY(script.Done());
    const TModalSeen& box = script.Seen().at(0);
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.title, QStringLiteral("Vesk - Безымянный"));
    QVERIFY2(box.text.contains(QString::fromLatin1(kWebSite) + QStringLiteral("/wiki/")),
             qPrintable(box.text));
    QVERIFY(box.text.contains(QStringLiteral("описание языка")));
    QVERIFY(ShownGuideText(*window).startsWith(QStringLiteral("The Vesk language")));
}

void TestMainHelp::withoutBrowserSiteSaysSoOnly()
{
    TNoBrowser noBrowser;
    auto window = ShowMainWindow();
    TModalScript script;
    script.Answer(QMessageBox::Ok);
    TNoBrowser::ExpectFailures(1);
    Child<QAction>(*window, "nWebItem")->trigger();
    QTRY_VERIFY(script.Done());
    QCOMPARE(script.Seen().size(), std::size_t(1));
    QCOMPARE(script.Seen().at(0).text,
             QStringLiteral("Не удалось открыть в браузере страницу ") + QString::fromLatin1(kWebSite) +
                 u'.');
    QVERIFY(!GuideOf(*window));
}

void TestMainHelp::openerThatFailsCountsAsNoBrowser()
{
    // As xdg-open answers when no browser is configured.
    TOpenerOnPath failing("#!/bin/sh\nexit 3\n");
    auto window = ShowMainWindow();
    TModalScript script;
    script.Answer(QMessageBox::Ok);
    QTest::keyClick(Editor(*window), Qt::Key_F1);
    QTRY_VERIFY(script.Done());
    QVERIFY(script.Seen().at(0).text.contains(QString::fromLatin1(kWebSite) + QStringLiteral("/wiki/")));
    QTRY_VERIFY(ShownGuideText(*window).startsWith(QStringLiteral("The Vesk language")));
}

VESK_MAIN_WINDOW_TEST(TestMainHelp)
#include "tst_main_help.moc"
