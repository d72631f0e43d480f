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
#include "formats/projectread.h"
#include "ui/mainwindow/examplesmenu.h"
#include "ui/app/guide.h"
#include "ui/app/website.h"

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
    void russianGuideMatchesEnglish();
    void guideItemOpensOneGuideWindow();
    void withoutBrowserF1SaysSoAndOpensGuide();
    void withoutBrowserSiteSaysSoOnly();
    void examplesOpenAsUntitledCopies();
    void openerThatFailsCountsAsNoBrowser();
};

void TestMainHelp::guideIsTheReadmeLanguageSection()
{
    QFile readme(QStringLiteral(VESK_SOURCE_DIR "/README.md"));
    QVERIFY(readme.open(QIODevice::ReadOnly));
    const QString whole = QString::fromUtf8(readme.readAll());
    const QString guide = TfGuide::Text(QString::fromLatin1(kGuideResource));
    QVERIFY(guide.startsWith(QStringLiteral("## The Vesk language\n")));
    QVERIFY(whole.contains(guide));
    // It runs to the next section of its level, the subsections included.
    QVERIFY(guide.contains(QStringLiteral("\n### Conditions\n")));
    QVERIFY(guide.contains(QStringLiteral("«Неизвестный символ.»")));
    const qsizetype next = whole.indexOf(QStringLiteral("\n## "), whole.indexOf(guide) + 1);
    QVERIFY(next > 0);
    QCOMPARE(whole.indexOf(guide) + guide.size(), next + 1);
}

namespace {

// What both guides must share: the heading levels in order, the table shapes,
// and every example with its comments left out.
QStringList Skeleton(const QString& guide)
{
    QStringList skeleton;
    bool inCode = false;
    for (const QString& line : guide.split(u'\n')) {
        if (line.startsWith(QStringLiteral("```"))) {
            inCode = !inCode;
            skeleton << QStringLiteral("```");
        } else if (inCode) {
            skeleton << line.left(line.indexOf(u'\'')).trimmed();
        } else if (line.startsWith(u'#')) {
            skeleton << line.left(line.indexOf(u' '));
        } else if (line.startsWith(u'|')) {
            skeleton << QStringLiteral("|").repeated(line.count(u'|'));
        }
    }
    return skeleton;
}

QStringList CodeSpans(const QString& guide)
{
    QStringList spans;
    static const QRegularExpression span(QStringLiteral("`([^`\n]+)`"));
    for (auto it = span.globalMatch(guide); it.hasNext();)
        spans << it.next().captured(1);
    return spans;
}

} // namespace

void TestMainHelp::russianGuideMatchesEnglish()
{
    const QString english = TfGuide::Text(QString::fromLatin1(kGuideResource));
    const QString russian = TfGuide::Text(QString::fromLatin1(kRussianGuideResource));
    QVERIFY(russian.startsWith(QStringLiteral("## Язык Vesk\n")));
    QCOMPARE(Skeleton(russian), Skeleton(english));
    // Code in the text stays as it is; only a span of words may be translated.
    const QStringList russianSpans = CodeSpans(russian);
    const QStringList englishSpans = CodeSpans(english);
    QCOMPARE(russianSpans.size(), englishSpans.size());
    for (qsizetype i = 0; i < russianSpans.size(); ++i) {
        const bool words = std::any_of(russianSpans[i].begin(), russianSpans[i].end(),
                                       [](QChar c) { return c.script() == QChar::Script_Cyrillic; });
        if (!words)
            QCOMPARE(russianSpans[i], englishSpans[i]);
    }
    // Under the Russian interface the Russian one is the guide.
    QCOMPARE(TfGuide::Text(), russian);
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
    QVERIFY(text.startsWith(QStringLiteral("Язык Vesk\n")));
    QVERIFY(text.contains(QStringLiteral("выбрать ячейку XXXX текущей")));
    QVERIFY(!text.contains(QStringLiteral("|---|")));
    QVERIFY(!text.contains(QStringLiteral("**")));

    // Escape puts the guide away, wherever its focus is.
    QVERIFY(QTest::qWaitForWindowActive(guide));
    QTest::keyClick(Child<QTextBrowser>(*guide, "mGuideText"), Qt::Key_Escape);
    QTRY_VERIFY(!guide->isVisible());
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
    QVERIFY(ShownGuideText(*window).startsWith(QStringLiteral("Язык Vesk")));
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
    QTRY_VERIFY(ShownGuideText(*window).startsWith(QStringLiteral("Язык Vesk")));
}

VESK_MAIN_WINDOW_TEST(TestMainHelp)
#include "tst_main_help.moc"

void TestMainHelp::examplesOpenAsUntitledCopies()
{
    auto window = ShowMainWindow();
    auto* examples = window->findChild<TExamplesMenu*>();
    QVERIFY(examples);
    examples->SetFolder(QStringLiteral(VESK_SOURCE_DIR "/examples"));
    emit examples->aboutToShow();
    QAction* hello = nullptr;
    for (QAction* entry : examples->actions())
        hello = entry->text() == QStringLiteral("hello") ? entry : hello;
    QVERIFY(hello);
    QVERIFY(examples->menuAction()->isEnabled());

    // Unsaved changes are asked about first; Cancel keeps them.
    SetProgram(*window, QStringLiteral("+01"));
    Editor(*window)->document()->setModified(true);
    TModalScript script;
    script.Answer(QMessageBox::Cancel);
    hello->trigger();
    QVERIFY(script.Done());
    QCOMPARE(Editor(*window)->toPlainText(), QStringLiteral("+01"));

    script.Answer(QMessageBox::No);
    hello->trigger();
    QVERIFY(script.Done());
    const QString sample = QString::fromStdU16String(
        ReadProjectFile(QStringLiteral(VESK_SOURCE_DIR "/examples/hello.veskp")).text);
    QVERIFY(sample.contains(QStringLiteral("HELLO")));
    QCOMPARE(Editor(*window)->toPlainText(), sample);
    // A copy: saving would ask for a new name, and nothing is unsaved yet.
    QCOMPARE(window->windowTitle(), QStringLiteral("Vesk - Безымянный"));
    QVERIFY(!Editor(*window)->document()->isModified());
}
