// What the main window remembers between runs: the recent project files in the
// "Файл" menu, and its own size and position.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QScreen>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "mainfixture.h"
#include "modalhelper.h"
#include "ui/mainwindow/recentfilesmenu.h"

namespace {

const QString kOpenCaption = QStringLiteral("Открытие проекта");

// The submenu as the user sees it after opening it: its entries' texts.
QStringList RecentEntries(const TfMain& window)
{
    auto* menu = Child<TRecentFilesMenu>(window, "nRecentItem");
    menu->popup(window.mapToGlobal(QPoint(10, 10)));
    menu->hide();
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << action->text();
    return texts;
}

void WriteSettings(const QByteArray& text)
{
    QFile file(TIdeSettings::FilePath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(text), text.size());
}

QAction* RecentEntry(const TfMain& window, int index)
{
    RecentEntries(window);
    return Child<TRecentFilesMenu>(window, "nRecentItem")->actions().value(index);
}

} // namespace

class TestMainRecent : public QObject {
    Q_OBJECT
private slots:
    void init();
    void openedAndSavedFilesAreListedNewestFirst();
    void choosingAnEntryOpensItAfterTheSaveQuestion();
    void listKeepsEightDistinctFiles();
    void missingFileIsGreyAndExplained();
    void geometryComesBackAtTheNextStart();
    void hugeGeometryIsKeptOnTheScreen();
    void settingsFifoHoldsUpNeitherStartNorClose();
    void settingsValuesOfTheWrongKindAreIgnored_data();
    void settingsValuesOfTheWrongKindAreIgnored();
    void longAndReversingPathsAreShownPlainly();

private:
    QString Project(const QString& name, const QByteArray& text = "$0001+01")
    {
        const QString path = _dir.filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(text);
        return path;
    }

    QTemporaryDir _dir;
};

void TestMainRecent::init() { TIdeSettings().Clear(); }

void TestMainRecent::openedAndSavedFilesAreListedNewestFirst()
{
    const QString first = Project(QStringLiteral("first.veskp"));
    auto window = ShowMainWindow({first});
    QCOMPARE(RecentEntries(*window), QStringList{QStringLiteral("&1 ") + first});

    TModalScript script;
    script.ChooseFile(_dir.filePath(QStringLiteral("saved & kept.veskp")));
    Child<QAction>(*window, "nSaveAsItem")->trigger();
    QTRY_VERIFY(script.Done());
    // A failed load is reported and not remembered.
    script.ChooseFile(_dir.filePath(QStringLiteral("absent.veskp")));
    script.Answer(QMessageBox::Ok);
    Child<QAction>(*window, "nOpenItem")->trigger();
    QTRY_VERIFY(script.Done());

    QCOMPARE(RecentEntries(*window),
             (QStringList{QStringLiteral("&1 ") + _dir.filePath(QStringLiteral("saved && kept.veskp")),
                          QStringLiteral("&2 ") + first}));
    QCOMPARE(RecentEntry(*window, 0)->data().toString(),
             _dir.filePath(QStringLiteral("saved & kept.veskp")));

    // The file menu keeps its items and order; the submenu stands before Exit.
    const QList<QAction*> items = Child<QMenu>(*window, "nFileItem")->actions();
    QCOMPARE(items.at(items.size() - 3)->objectName(), QStringLiteral("nRecentItemAction"));
    QCOMPARE(items.at(items.size() - 2)->objectName(), QStringLiteral("nRecentSeparator"));
    QCOMPARE(items.last()->objectName(), QStringLiteral("nExitItem"));
    QCOMPARE(items.at(items.size() - 3)->text(), QStringLiteral("Последние &файлы"));
}

void TestMainRecent::choosingAnEntryOpensItAfterTheSaveQuestion()
{
    const QString older = Project(QStringLiteral("older.veskp"), "$00AA +0A");
    auto window = ShowMainWindow();
    TIdeSettings().AddRecentFile(older);
    QTest::keyClicks(Editor(*window), QStringLiteral("unsaved"));
    QCOMPARE(RecentEntries(*window), QStringList{QStringLiteral("&1 ") + older});

    TModalScript script;
    script.Answer(QMessageBox::No);
    RecentEntry(*window, 0)->trigger();
    QTRY_VERIFY(script.Done());
    QCOMPARE(script.Seen().at(0).title, kOpenCaption);
    QCOMPARE(Editor(*window)->toPlainText(), QStringLiteral("$00AA +0A"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Vesk - older.veskp"));

    // Cancel at the question keeps the text.
    QTest::keyClicks(Editor(*window), QStringLiteral("kept"));
    script.Answer(QMessageBox::Cancel);
    RecentEntry(*window, 0)->trigger();
    QTRY_VERIFY(script.Done());
    QCOMPARE(Editor(*window)->toPlainText(), QStringLiteral("kept$00AA +0A"));
}

void TestMainRecent::listKeepsEightDistinctFiles()
{
    TIdeSettings settings;
    for (int i = 0; i < 10; ++i)
        settings.AddRecentFile(_dir.filePath(QStringLiteral("p%1.veskp").arg(i)));
    // A relative path is kept absolute, and a file added again moves to the front.
    settings.AddRecentFile(QDir::current().relativeFilePath(_dir.filePath(QStringLiteral("p5.veskp"))));
    QStringList expected;
    for (int i : {5, 9, 8, 7, 6, 4, 3, 2})
        expected << _dir.filePath(QStringLiteral("p%1.veskp").arg(i));
    QCOMPARE(settings.RecentFiles(), expected);
    QCOMPARE(TIdeSettings().RecentFiles(), expected);
    auto window = std::make_unique<TfMain>();
    QCOMPARE(RecentEntries(*window).size(), TIdeSettings::kMaxRecentFiles);
}

void TestMainRecent::missingFileIsGreyAndExplained()
{
    const QString present = Project(QStringLiteral("present.veskp"));
    const QString gone = _dir.filePath(QStringLiteral("gone.veskp"));
    TIdeSettings().AddRecentFile(gone);
    TIdeSettings().AddRecentFile(present);
    auto window = std::make_unique<TfMain>();
    window->show();
    const auto* menu = Child<TRecentFilesMenu>(*window, "nRecentItem");
    QCOMPARE(RecentEntries(*window).size(), 2);
    QAction* presentEntry = menu->actions().at(0);
    QAction* goneEntry = menu->actions().at(1);
    QVERIFY(presentEntry->isEnabled() && goneEntry->isEnabled());
    const QPalette normal = menu->EntryStyle(presentEntry).palette;
    const QPalette grey = menu->EntryStyle(goneEntry).palette;
    QCOMPARE(grey.color(QPalette::Text), normal.color(QPalette::Disabled, QPalette::Text));
    QVERIFY(normal.color(QPalette::Text) != normal.color(QPalette::Disabled, QPalette::Text));

    // No keeps the entry, Yes removes it; the editor is left alone either way.
    SetProgram(*window, QStringLiteral("mine"));
    TModalScript script;
    script.Answer(QMessageBox::No);
    goneEntry->trigger();
    QTRY_VERIFY(script.Done());
    const TModalSeen& seen = script.Seen().at(0);
    QCOMPARE(seen.title, kOpenCaption);
    QCOMPARE(seen.icon, QMessageBox::Question);
    QCOMPARE(seen.text, QStringLiteral("Файл \"%1\" не найден. Убрать его из списка последних файлов?")
                            .arg(gone));
    QCOMPARE(TIdeSettings().RecentFiles(), (QStringList{present, gone}));

    script.Answer(QMessageBox::Yes);
    RecentEntry(*window, 1)->trigger();
    QTRY_VERIFY(script.Done());
    QCOMPARE(TIdeSettings().RecentFiles(), QStringList{present});
    QCOMPARE(Editor(*window)->toPlainText(), QStringLiteral("mine"));
    QCOMPARE(RecentEntries(*window).size(), 1);
}

void TestMainRecent::geometryComesBackAtTheNextStart()
{
    QRect closedAt;
    {
        auto window = ShowMainWindow();
        window->setGeometry(QRect(60, 90, 700, 600));
        QTRY_COMPARE(window->geometry(), QRect(60, 90, 700, 600));
        closedAt = window->geometry();
        QVERIFY(window->close());
    }
    auto again = std::make_unique<TfMain>();
    again->show();
    QVERIFY(QTest::qWaitForWindowExposed(again.get()));
    QCOMPARE(again->geometry(), closedAt);

    // A window that never closed normally saved nothing: the next one starts afresh.
    TIdeSettings().Clear();
    auto fresh = std::make_unique<TfMain>();
    fresh->show();
    QVERIFY(QTest::qWaitForWindowExposed(fresh.get()));
    QCOMPARE(fresh->centralWidget()->height(), 539);
}

void TestMainRecent::hugeGeometryIsKeptOnTheScreen()
{
    // As a window of 100000 x 100000 far off the screen would have saved it.
    QMainWindow huge;
    huge.setGeometry(QRect(-70000, -70000, 100000, 100000));
    const QByteArray geometry = huge.saveGeometry();
    WriteSettings("[window]\ngeometry=@ByteArray(" + geometry.toPercentEncoding().replace('%', "\\x")
                  + ")\n");
    QCOMPARE(TIdeSettings().RecentFiles(), QStringList());

    TfMain window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect area = window.screen()->availableGeometry();
    // The frame's own few pixels aside, all of it on the screen.
    QVERIFY2(area.contains(window.geometry().topLeft()) && area.size().expandedTo(window.size()) == area.size(),
             qPrintable(QStringLiteral("%1,%2 %3x%4").arg(window.geometry().x()).arg(window.geometry().y())
                            .arg(window.width()).arg(window.height())));
}

void TestMainRecent::settingsFifoHoldsUpNeitherStartNorClose()
{
    const QString path = TIdeSettings::FilePath();
    QVERIFY(QFile::remove(path));
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    // Should the window wait on the FIFO, a late opener frees it and the test fails.
    std::atomic<bool> done{false};
    std::atomic<bool> rescued{false};
    std::thread rescue([&] {
        for (int i = 0; i < 100 && !done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        while (!done) {
            rescued = true;
            ::close(::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK));
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    {
        auto window = std::make_unique<TfMain>(QStringList{Project(QStringLiteral("p.veskp"))});
        window->show();
        QCOMPARE(RecentEntries(*window).size(), 1);
        QVERIFY(window->close());
    }
    done = true;
    rescue.join();
    QVERIFY(!rescued);
    struct stat info {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
    QVERIFY(S_ISFIFO(info.st_mode));
    QVERIFY(QFile::remove(path));
}

void TestMainRecent::settingsValuesOfTheWrongKindAreIgnored_data()
{
    QTest::addColumn<QByteArray>("text");
    // A list of paths, but as a typed value that would have to be deserialised.
    QDataStream::Version version = QDataStream::Qt_6_0;
    QByteArray typed;
    QDataStream stream(&typed, QIODevice::WriteOnly);
    stream.setVersion(version);
    stream << QVariant(QStringList{_dir.filePath(QStringLiteral("typed.veskp"))});
    QTest::newRow("typed value") << ("[General]\nrecentFiles=@Variant(" +
                                     typed.toPercentEncoding().replace('%', "\\x") + ")\n");
    // Fine but for its size.
    QTest::newRow("file of 2 MiB")
        << ("[General]\nrecentFiles=" + QFile::encodeName(_dir.filePath(QStringLiteral("big.veskp")))
            + "\n" + QByteArray(2 << 20, ';'));
}

void TestMainRecent::settingsValuesOfTheWrongKindAreIgnored()
{
    QFETCH(QByteArray, text);
    WriteSettings(text);
    auto window = std::make_unique<TfMain>();
    QCOMPARE(RecentEntries(*window), QStringList{QStringLiteral("Список пуст")});
}

void TestMainRecent::longAndReversingPathsAreShownPlainly()
{
    const QString reversing = _dir.filePath(QStringLiteral("a\u202Eexe.veskp"));
    const QString longPath = QStringLiteral("/") + QString(3000, u'd') + QStringLiteral("/end&.veskp");
    TIdeSettings().AddRecentFile(reversing);
    TIdeSettings().AddRecentFile(longPath);
    auto window = std::make_unique<TfMain>();
    const QStringList entries = RecentEntries(*window);
    QCOMPARE(entries.size(), 2);
    // At most 100 characters of the path, its start and its end.
    QCOMPARE(entries.at(0), QStringLiteral("&1 /") + QString(48, u'd') + u'…' + QString(39, u'd')
                                + QStringLiteral("/end&&.veskp"));
    QCOMPARE(RecentEntry(*window, 0)->toolTip(), longPath);
    QCOMPARE(RecentEntry(*window, 0)->data().toString(), longPath);
    QCOMPARE(entries.at(1), QStringLiteral("&2 ") + _dir.filePath(QStringLiteral("a<U+202E>exe.veskp")));
}

VESK_MAIN_WINDOW_TEST(TestMainRecent)
#include "tst_main_recent.moc"
