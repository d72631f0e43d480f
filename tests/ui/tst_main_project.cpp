// Project files through the main window: loading and saving byte for byte, the
// questions before New, Open and close, the titles, and failing loads and saves.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "mainfixture.h"
#include "modalhelper.h"

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace {

const QString kUntitled = QStringLiteral("Безымянный");
const QString kSaveQuestion = QStringLiteral("Сохранить изменения в текущем проекте?");

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

void Key(const TfMain& window, int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
{
    QTest::keyClick(Editor(window), Qt::Key(key), modifiers);
}

void Type(const TfMain& window, const QString& text) { QTest::keyClicks(Editor(window), text); }

bool Modified(const TfMain& window) { return Editor(window)->document()->isModified(); }

QString Title(const QString& name) { return QStringLiteral("Vesk - ") + name; }

// The file name a save dialog proposes, as its name box shows it.
QString ProposedName(QWidget* modal)
{
    auto* edit = modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    return edit ? edit->text() : QStringLiteral("<no name box>");
}

} // namespace

class TestMainProject : public QObject {
    Q_OBJECT
private slots:
    void init();
    void roundTrip_data();
    void roundTrip();
    void startsUntitled();
    void startFileThatDoesNotOpenIsReported_data();
    void startFileThatDoesNotOpenIsReported();
    void titleShowsWholeFileName();
    void pathNamedLikeUntitledCountsAsUntitled();
    void newAsksWhenModified_data();
    void newAsksWhenModified();
    void newYesOnUntitledCancelledDialogKeepsAll();
    void openAsksThenLoads();
    void openOfMissingFileChangesNothing();
    void saveUntitledAddsExtension();
    void saveAsProposesPathAndConfirmsOverwrite();
    void closeAsksWhenModified_data();
    void closeAsksWhenModified();
    void failedSaveReachesErrorHandler();
    void failedWriteKeepsOldFile();
    void failedSaveAsKeepsThePath();

private:
    std::unique_ptr<QTemporaryDir> _dir;
    QString Path(const QString& name) const { return _dir->filePath(name); }
};

void TestMainProject::init()
{
    _dir = std::make_unique<QTemporaryDir>();
    QVERIFY(_dir->isValid());
}

void TestMainProject::roundTrip_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QByteArray>("saved");

    QTest::newRow("two lines, CR LF") << QByteArray("ab\r\ncd") << QStringLiteral("ab\ncd")
                                      << QByteArray("ab\r\ncd");
    QTest::newRow("UTF-8 mark") << QByteArray("\xEF\xBB\xBF" "a\r\n\xD0\xB1")
                                << QStringLiteral("a\nб") << QByteArray("a\r\n\xE1");
    QTest::newRow("UTF-16 LE mark") << QByteArray("\xFF\xFE" "a\0\r\0\n\0\x31\x04", 10)
                                    << QStringLiteral("a\nб") << QByteArray("a\r\n\xE1");
    QTest::newRow("LF only") << QByteArray("a\nb\n") << QStringLiteral("a\nb\n")
                             << QByteArray("a\r\nb\r\n");
    QTest::newRow("CR only") << QByteArray("a\rb") << QStringLiteral("a\nb") << QByteArray("a\r\nb");
    QTest::newRow("empty") << QByteArray() << QString() << QByteArray();
    QTest::newRow("UTF-8 without mark")
        << QByteArray("a\r\n' \xD0\xB1") << QStringLiteral("a\n' б") << QByteArray("a\r\n' \xE1");
    QTest::newRow("beyond the code page")
        << QByteArray("' caf\xC3\xA9 \xF0\x9F\x98\x80") << QStringLiteral("' café 😀")
        << QByteArray("\xEF\xBB\xBF' caf\xC3\xA9 \xF0\x9F\x98\x80");
    QTest::newRow("Windows-1251 comment")
        << QByteArray("$0001+01 ' \xCF\xF0\xE8\xE2\xE5\xF2\r\n")
        << QStringLiteral("$0001+01 ' Привет\n")
        << QByteArray("$0001+01 ' \xCF\xF0\xE8\xE2\xE5\xF2\r\n");
}

void TestMainProject::roundTrip()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, editor);
    QFETCH(QByteArray, saved);
    const QString path = Path(QStringLiteral("prog.veskp"));
    WriteAll(path, file);

    auto window = ShowMainWindow({path});
    TModalScript script;
    QCOMPARE(Editor(*window)->toPlainText(), editor);
    QVERIFY(!Modified(*window));
    QCOMPARE(window->CurrentFile(), path);
    QCOMPARE(window->windowTitle(), Title(QStringLiteral("prog.veskp")));
    QCOMPARE(TVeskApplication::Title(), Title(QStringLiteral("prog.veskp")));
    // A display name of its own would be appended to every other window's
    // caption on X11 ("Поиск — Vesk - prog.veskp").
    QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());

    Key(*window, Qt::Key_S);
    QCOMPARE(ReadAll(path), saved);
    QVERIFY(script.Seen().empty());
    QCOMPARE(window->windowTitle(), Title(QStringLiteral("prog.veskp")));
}

void TestMainProject::startsUntitled()
{
    auto window = ShowMainWindow();
    QCOMPARE(window->CurrentFile(), kUntitled);
    QCOMPARE(window->windowTitle(), Title(kUntitled));
    QVERIFY(Editor(*window)->toPlainText().isEmpty());
    QVERIFY(!Modified(*window));
}

void TestMainProject::titleShowsWholeFileName()
{
    // ":" and "\" are ordinary characters of a file name here.
    const QString path = Path(QStringLiteral("v1:draft\\copy.veskp"));
    WriteAll(path, "$0001");
    auto window = ShowMainWindow({path});
    QCOMPARE(window->CurrentFile(), path);
    QCOMPARE(window->windowTitle(), Title(QStringLiteral("v1:draft\\copy.veskp")));

    TModalScript script;
    script.ChooseFile(Path(QStringLiteral("C:\\new.veskp")));
    Key(*window, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(script.Done());
    QCOMPARE(window->windowTitle(), Title(QStringLiteral("C:\\new.veskp")));
    QCOMPARE(TVeskApplication::Title(), window->windowTitle());
}

void TestMainProject::startFileThatDoesNotOpenIsReported_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("fifo");
    QTest::newRow("missing") << QStringLiteral("missing.veskp") << false;
    QTest::newRow("folder") << QStringLiteral("folder.veskp") << false;
    QTest::newRow("FIFO, not waited for") << QStringLiteral("fifo.veskp") << true;
}

void TestMainProject::startFileThatDoesNotOpenIsReported()
{
    QFETCH(QString, name);
    QFETCH(bool, fifo);
    const QString path = Path(name);
    if (name.startsWith(u"folder"))
        QVERIFY(QDir().mkdir(path));
    if (fifo)
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    TModalScript script;
    script.Answer(QMessageBox::Ok);
    auto window = ShowMainWindow({path});
    QTRY_VERIFY(script.Done());
    const TModalSeen& error = script.Seen().at(0);
    QCOMPARE(error.icon, QMessageBox::Critical);
    QVERIFY2(error.text.startsWith(QStringLiteral("Не удается открыть файл \"%1\". ").arg(path)),
             qPrintable(error.text));
    QCOMPARE(window->CurrentFile(), kUntitled);
    QCOMPARE(window->windowTitle(), Title(kUntitled));
}

void TestMainProject::pathNamedLikeUntitledCountsAsUntitled()
{
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(_dir->path()));
    WriteAll(kUntitled, QByteArray("$0001"));
    auto window = ShowMainWindow({kUntitled});
    QVERIFY(QDir::setCurrent(previous));
    QCOMPARE(Editor(*window)->toPlainText(), QStringLiteral("$0001"));

    TModalScript script;
    script.Cancel();
    Key(*window, Qt::Key_S);
    QVERIFY(script.Done());
    QCOMPARE(script.Seen().at(0).kind, QStringLiteral("QFileDialog"));
}

void TestMainProject::newAsksWhenModified_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("emptied");
    QTest::addColumn<QByteArray>("fileAfter");
    QTest::newRow("Cancel") << int(QMessageBox::Cancel) << false << QByteArray("old");
    QTest::newRow("No") << int(QMessageBox::No) << true << QByteArray("old");
    QTest::newRow("Yes") << int(QMessageBox::Yes) << true << QByteArray("oldX");
}

void TestMainProject::newAsksWhenModified()
{
    QFETCH(int, answer);
    QFETCH(bool, emptied);
    QFETCH(QByteArray, fileAfter);
    const QString path = Path(QStringLiteral("a.veskp"));
    WriteAll(path, "old");
    auto window = ShowMainWindow({path});
    TModalScript script;

    // Unmodified: no question at all.
    Key(*window, Qt::Key_N);
    QVERIFY(script.Seen().empty());
    QCOMPARE(window->windowTitle(), Title(kUntitled));

    auto reopened = ShowMainWindow({path});
    Editor(*reopened)->moveCursor(QTextCursor::End);
    Type(*reopened, QStringLiteral("X"));
    QVERIFY(Modified(*reopened));
    script.Answer(QMessageBox::StandardButton(answer));
    Key(*reopened, Qt::Key_N);
    QVERIFY(script.Done());
    QCOMPARE(script.Seen().at(0).title, QStringLiteral("Создание проекта"));
    QCOMPARE(script.Seen().at(0).text, kSaveQuestion);
    QCOMPARE(script.Seen().at(0).icon, QMessageBox::Question);

    QCOMPARE(ReadAll(path), fileAfter);
    if (emptied) {
        QVERIFY(Editor(*reopened)->toPlainText().isEmpty());
        QCOMPARE(reopened->CurrentFile(), kUntitled);
        QCOMPARE(reopened->windowTitle(), Title(kUntitled));
        QVERIFY(!Modified(*reopened));
    } else {
        QCOMPARE(Editor(*reopened)->toPlainText(), QStringLiteral("oldX"));
        QCOMPARE(reopened->CurrentFile(), path);
        QCOMPARE(reopened->windowTitle(), Title(QStringLiteral("a.veskp")));
        QVERIFY(Modified(*reopened));
    }
}

void TestMainProject::newYesOnUntitledCancelledDialogKeepsAll()
{
    auto window = ShowMainWindow();
    TModalScript script;
    Type(*window, QStringLiteral("$0001"));
    QString proposed;
    script.Answer(QMessageBox::Yes);
    script.Then([&](QWidget* modal) {
        proposed = ProposedName(modal);
        TModalScript::Dismiss(modal);
    });
    Key(*window, Qt::Key_N);
    QVERIFY(script.Done());
    QCOMPARE(proposed, kUntitled);
    QCOMPARE(Editor(*window)->toPlainText(), QStringLiteral("$0001"));
    QVERIFY(Modified(*window));
    QCOMPARE(window->windowTitle(), Title(kUntitled));
}

void TestMainProject::openAsksThenLoads()
{
    const QString path = Path(QStringLiteral("other.veskp"));
    WriteAll(path, "$0002\r\n");
    auto window = ShowMainWindow();
    TModalScript script;
    Type(*window, QStringLiteral("typed"));
    script.Answer(QMessageBox::No);
    script.ChooseFile(path);
    Key(*window, Qt::Key_O);
    QVERIFY(script.Done());
    QCOMPARE(script.Seen().at(0).title, QStringLiteral("Открытие проекта"));
    QCOMPARE(script.Seen().at(0).text, kSaveQuestion);
    QCOMPARE(Editor(*window)->toPlainText(), QStringLiteral("$0002\n"));
    QCOMPARE(window->CurrentFile(), path);
    QCOMPARE(window->windowTitle(), Title(QStringLiteral("other.veskp")));
    QVERIFY(!Modified(*window));
}

void TestMainProject::openOfMissingFileChangesNothing()
{
    const QString path = Path(QStringLiteral("kept.veskp"));
    WriteAll(path, "$0001");
    auto window = ShowMainWindow({path});
    TModalScript script;
    script.ChooseFile(Path(QStringLiteral("absent.veskp")));
    script.Answer(QMessageBox::Ok);
    Key(*window, Qt::Key_O);
    QVERIFY(script.Done());
    QCOMPARE(script.Seen().at(1).icon, QMessageBox::Critical);
    QCOMPARE(script.Seen().at(1).title, Title(QStringLiteral("kept.veskp")));
    QVERIFY2(script.Seen().at(1).text.contains(Path(QStringLiteral("absent.veskp"))),
             qPrintable(script.Seen().at(1).text));
    QCOMPARE(Editor(*window)->toPlainText(), QStringLiteral("$0001"));
    QCOMPARE(window->windowTitle(), Title(QStringLiteral("kept.veskp")));
    // The path returns to the loaded project's, so a save goes where the text came from.
    QCOMPARE(window->CurrentFile(), path);
    Editor(*window)->setPlainText(QStringLiteral("$0003"));
    Key(*window, Qt::Key_S);
    QCOMPARE(ReadAll(path), QByteArray("$0003"));
    QVERIFY(!QFile::exists(Path(QStringLiteral("absent.veskp"))));
}

void TestMainProject::saveUntitledAddsExtension()
{
    auto window = ShowMainWindow();
    TModalScript script;
    Type(*window, QStringLiteral("$0001"));
    QString proposed;
    script.Then([&](QWidget* modal) {
        proposed = ProposedName(modal);
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        TModalScript::TypeFileName(dialog, Path(QStringLiteral("prog")));
        static_cast<QDialog*>(dialog)->accept();
    });
    Key(*window, Qt::Key_S);
    QVERIFY(script.Done());
    QCOMPARE(proposed, kUntitled);
    const QString saved = Path(QStringLiteral("prog.veskp"));
    QCOMPARE(ReadAll(saved), QByteArray("$0001"));
    QCOMPARE(QFileInfo(window->CurrentFile()), QFileInfo(saved));
    QCOMPARE(window->windowTitle(), Title(QStringLiteral("prog.veskp")));
    QVERIFY(!Modified(*window));
}

void TestMainProject::saveAsProposesPathAndConfirmsOverwrite()
{
    const QString path = Path(QStringLiteral("first.veskp"));
    const QString other = Path(QStringLiteral("second.veskp"));
    WriteAll(path, "$0001");
    WriteAll(other, "second");
    auto window = ShowMainWindow({path});
    TModalScript script;
    QStringList proposed;
    script.Then([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        proposed = dialog->selectedFiles();
        TModalScript::TypeFileName(dialog, other);
        static_cast<QDialog*>(dialog)->accept();
    });
    script.Answer(QMessageBox::Yes); // replace the existing file
    Key(*window, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QTRY_VERIFY(script.Done());
    QCOMPARE(proposed.size(), 1);
    QCOMPARE(QFileInfo(proposed.first()), QFileInfo(path));
    QCOMPARE(ReadAll(other), QByteArray("$0001"));
    QCOMPARE(ReadAll(path), QByteArray("$0001"));
    QCOMPARE(window->windowTitle(), Title(QStringLiteral("second.veskp")));
}

void TestMainProject::closeAsksWhenModified_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QByteArray>("fileAfter");
    QTest::newRow("unmodified") << false << 0 << true << QByteArray("old");
    QTest::newRow("Cancel") << true << int(QMessageBox::Cancel) << false << QByteArray("old");
    QTest::newRow("No") << true << int(QMessageBox::No) << true << QByteArray("old");
    QTest::newRow("Yes") << true << int(QMessageBox::Yes) << true << QByteArray("new");
}

void TestMainProject::closeAsksWhenModified()
{
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(bool, closed);
    QFETCH(QByteArray, fileAfter);
    const QString path = Path(QStringLiteral("c.veskp"));
    WriteAll(path, "old");
    auto window = ShowMainWindow({path});
    TModalScript script;
    if (modified) {
        Editor(*window)->selectAll();
        Type(*window, QStringLiteral("new"));
        script.Answer(QMessageBox::StandardButton(answer));
    }
    // Alt+F4 runs "Выход", which asks the window to close.
    Key(*window, Qt::Key_F4, Qt::AltModifier);
    QVERIFY(script.Done());
    QCOMPARE(script.Seen().size(), modified ? 1u : 0u);
    if (modified) {
        QCOMPARE(script.Seen().at(0).title, QStringLiteral("Завершение работы"));
        QCOMPARE(script.Seen().at(0).text, kSaveQuestion);
    }
    QCOMPARE(window->isVisible(), !closed);
    QCOMPARE(ReadAll(path), fileAfter);
}

void TestMainProject::failedSaveReachesErrorHandler()
{
    const QString path = Path(QStringLiteral("blocked.veskp"));
    WriteAll(path, "old");
    auto window = ShowMainWindow({path});
    TModalScript script;
    Type(*window, QStringLiteral("typed"));
    // A directory now stands where the project file was.
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir().mkdir(path));

    script.Answer(QMessageBox::Ok);
    Key(*window, Qt::Key_S);
    QVERIFY(script.Done());
    const TModalSeen& error = script.Seen().at(0);
    QCOMPARE(error.icon, QMessageBox::Critical);
    QCOMPARE(error.title, Title(QStringLiteral("blocked.veskp")));
    QVERIFY2(error.text.contains(QDir::toNativeSeparators(path)), qPrintable(error.text));
    QVERIFY(Modified(*window));
    QVERIFY(QFileInfo(path).isDir());

    // The same failure in the close question keeps the window open.
    script.Answer(QMessageBox::Yes);
    script.Answer(QMessageBox::Ok);
    Key(*window, Qt::Key_F4, Qt::AltModifier);
    QVERIFY(script.Done());
    QCOMPARE(script.Seen().back().icon, QMessageBox::Critical);
    QVERIFY(window->isVisible());

    // The window goes on working: a save elsewhere succeeds.
    const QString elsewhere = Path(QStringLiteral("elsewhere.veskp"));
    script.ChooseFile(elsewhere);
    Key(*window, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(script.Done());
    QCOMPARE(ReadAll(elsewhere), QByteArray("typedold"));
    QVERIFY(!Modified(*window));
}

void TestMainProject::failedWriteKeepsOldFile()
{
#ifdef Q_OS_UNIX
    const QString path = Path(QStringLiteral("keep.veskp"));
    WriteAll(path, "old text");
    auto window = ShowMainWindow({path});
    TModalScript script;
    Editor(*window)->setPlainText(QString(200, u'+'));
    Type(*window, QStringLiteral("+"));

    // Files may not grow beyond 16 bytes while saving: the write fails midway.
    rlimit previous{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 16;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    script.Answer(QMessageBox::Ok);
    Key(*window, Qt::Key_S);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(script.Done());
    QCOMPARE(script.Seen().at(0).icon, QMessageBox::Critical);
    QCOMPARE(ReadAll(path), QByteArray("old text"));
    QVERIFY(Modified(*window));
    QCOMPARE(QDir(_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.veskp")});
#else
    QSKIP("needs a file size limit");
#endif
}

void TestMainProject::failedSaveAsKeepsThePath()
{
#ifdef Q_OS_UNIX
    const QString path = Path(QStringLiteral("first.veskp"));
    WriteAll(path, "$0001");
    auto window = ShowMainWindow({path});
    TModalScript script;
    Editor(*window)->setPlainText(QString(100, u'+'));
    Type(*window, QStringLiteral("+"));

    // No file may grow beyond 16 bytes while "Сохранить как..." writes the new one.
    rlimit previous{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 16;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    script.ChooseFile(Path(QStringLiteral("second.veskp")));
    script.Answer(QMessageBox::Ok);
    Key(*window, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(script.Done());
    QCOMPARE(script.Seen().back().icon, QMessageBox::Critical);
    QCOMPARE(window->CurrentFile(), path);
    QCOMPARE(window->windowTitle(), Title(QStringLiteral("first.veskp")));
    QVERIFY(Modified(*window));

    // Ctrl+S now saves where the title says.
    Key(*window, Qt::Key_S);
    QCOMPARE(ReadAll(path), QByteArray(101, '+'));
    QVERIFY(!Modified(*window));
#else
    QSKIP("needs a file size limit");
#endif
}

VESK_MAIN_WINDOW_TEST(TestMainProject)
#include "tst_main_project.moc"
