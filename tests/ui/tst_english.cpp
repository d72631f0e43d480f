// The interface under an English locale: the application picks English from
// LANGUAGE, as at a user's desktop, and every window speaks it.
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include "mainfixture.h"
#include "modalhelper.h"
#include "ui/app/coremessage.h"
#include "ui/app/guide.h"
#include "ui/results/results.h"

namespace {

const int kWait = 5000;

// "File: New, Open..., ..." for every menu of the bar, hidden ones included.
QStringList MenuTexts(const TfMain& window)
{
    QStringList menus;
    for (const QAction* menuAction : window.menuBar()->actions()) {
        QStringList items;
        for (const QAction* item : menuAction->menu()->actions()) {
            if (!item->isSeparator())
                items << QString(item->text()).remove(u'&');
        }
        menus << QString(menuAction->text()).remove(u'&') + QStringLiteral(": ") + items.join(QStringLiteral(", "));
    }
    return menus;
}

bool HasCyrillic(const QString& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.script() == QChar::Script_Cyrillic; });
}

} // namespace

class TestEnglish : public QObject {
    Q_OBJECT
private slots:
    void menusAndRunButtons();
    void closeQuestion();
    void errorReportWithCoreMessage();
    void coreMessages_data();
    void coreMessages();
    void resultsWindow();
    void fileNamedUntitledSavesInPlace();
};

void TestEnglish::menusAndRunButtons()
{
    auto window = ShowMainWindow();
    QCOMPARE(window->windowTitle(), QStringLiteral("Vesk - Untitled"));
    QCOMPARE(TVeskApplication::Title(), QStringLiteral("Vesk - Untitled"));
    const QStringList menus = MenuTexts(*window);
    const QString all = menus.join(u'\n');
    QVERIFY2(menus.at(0).startsWith(QStringLiteral("File: New, Open..., Save, Save As..., ")),
             qPrintable(all));
    QVERIFY2(menus.at(1).startsWith(QStringLiteral("Edit: Undo, Cut, Copy, Paste, Select All, "
                                                   "Delete, Find")),
             qPrintable(all));
    QVERIFY2(all.contains(QStringLiteral("Project: Run, Pause, Stop, Run Without Delay, Step, "
                                         "Run to Cursor, Breakpoint")),
             qPrintable(all));
    QVERIFY2(all.contains(QStringLiteral("View: Cells")), qPrintable(all));
    QVERIFY2(all.contains(QStringLiteral("Help: About..., Online Help, Website, Language Guide, Examples")),
             qPrintable(all));
    QVERIFY2(all.contains(QStringLiteral("Find, Find Next, Find Previous, Go to Line..., Matching Bracket")),
             qPrintable(all));
    QVERIFY2(!HasCyrillic(all), qPrintable(all));

    QCOMPARE(Button(*window, "bBigRun")->text(), QStringLiteral("Run"));
    QCOMPARE(Button(*window, "bBigRun")->description(), QStringLiteral("Start the program"));
    QCOMPARE(Button(*window, "bBigPause")->text(), QStringLiteral("Pause"));
    QCOMPARE(Button(*window, "bBigStop")->text(), QStringLiteral("Stop"));
    QCOMPARE(Child<QDockWidget>(*window, "pCellsPanel")->windowTitle(), QStringLiteral("Cells"));
    QVERIFY(TfGuide::Text().startsWith(QStringLiteral("## The Vesk language\n")));
}

void TestEnglish::closeQuestion()
{
    auto window = ShowMainWindow();
    Editor(*window)->document()->setModified(true);
    TModalScript script;
    QStringList buttons;
    script.ReadQuestionButtons(buttons);
    QVERIFY(!window->close());
    QVERIFY(script.Done());
    const TModalSeen& box = script.Seen().at(0);
    QCOMPARE(box.title, QStringLiteral("Quit"));
    QCOMPARE(box.text, QStringLiteral("Save changes to the current project?"));
    QCOMPARE(box.icon, QMessageBox::Question);
    // The toolkit's own buttons follow the interface: not its Russian texts.
    QCOMPARE(buttons, (QStringList{QStringLiteral("Yes"), QStringLiteral("No"),
                                   QStringLiteral("Cancel")}));
    Editor(*window)->document()->setModified(false);
}

void TestEnglish::errorReportWithCoreMessage()
{
    auto window = ShowMainWindow();
    TModalScript script;
    script.Answer(QMessageBox::Ok);
    SetProgram(*window, QStringLiteral("$0001+01\n  !"));
    Button(*window, "bBigRun")->click();
    QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);
    const TModalSeen& box = script.Seen().at(0);
    QCOMPARE(box.title, QStringLiteral("Error"));
    QCOMPARE(box.text, QStringLiteral("An error occurred while running the program\n"
                                      "Line: 2, column: 3.\nMessage: Unknown character."));
    QCOMPARE(Button(*window, "bBigRun")->text(), QStringLiteral("Run"));
}

void TestEnglish::coreMessages_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("operand");
    QTest::addColumn<QString>("english");
    QTest::newRow("fixed") << int(TErrorCode::ecBadAddress) << QString()
                           << QStringLiteral("Invalid cell address.");
    QTest::newRow("no final stop") << int(TErrorCode::ecBareNumber) << QString()
                                   << QStringLiteral("Numeric data used without an operator");
    QTest::newRow("source check") << int(TErrorCode::ecBadBrackets) << QString()
                                  << QStringLiteral("Mismatched program brackets.");
    QTest::newRow("number") << int(TErrorCode::ecBadNumber) << QStringLiteral("0G")
                            << QStringLiteral("Cannot read the number '0G'.");
    QTest::newRow("number with a placeholder") << int(TErrorCode::ecBadNumber) << QStringLiteral("%1")
                                               << QStringLiteral("Cannot read the number '%1'.");
}

void TestEnglish::coreMessages()
{
    QFETCH(int, code);
    QFETCH(QString, operand);
    QFETCH(QString, english);
    QCOMPARE(CoreMessageText({TErrorCode(code), operand.toStdU16String()}), english);
    // Every code has its English text: none is left in the core's Russian.
    static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
    for (int each = 0; each <= int(TErrorCode::ecBadNumber); ++each)
        QVERIFY2(!CoreMessageText({TErrorCode(each), u"00"}).contains(cyrillic), qPrintable(QString::number(each)));
}

void TestEnglish::resultsWindow()
{
    auto window = ShowMainWindow();
    TModalScript script;
    QStringList texts;
    QStringList headers;
    QList<int> gaps;
    script.Then([&](QWidget* modal) {
        auto* results = qobject_cast<TfResults*>(modal);
        if (!results) {
            TModalScript::Dismiss(modal);
            return;
        }
        texts << results->windowTitle();
        for (const char* name : {"lSuccesLabel", "sLabel1", "lTime", "sLabel2", "lVariablesLabel"})
            texts << Child<QLabel>(*results, name)->text();
        // Each value follows its caption closely, as in Russian, not at the Russian x.
        for (auto [caption, value] : {std::pair{"sLabel1", "lTime"}, std::pair{"sLabel2", "lStepsCount"}}) {
            const QLabel* label = Child<QLabel>(*results, caption);
            gaps << Child<QLabel>(*results, value)->x() - (label->x() + label->sizeHint().width());
        }
        texts << Child<QPushButton>(*results, "bSaveButton")->text()
              << Child<QPushButton>(*results, "bCloseButton")->text();
        const QAbstractItemModel* list = Child<QTreeView>(*results, "lVariablesList")->model();
        for (int column = 0; column < list->columnCount(); ++column)
            headers << list->headerData(column, Qt::Horizontal).toString();
        results->reject();
    });
    SetProgram(*window, QStringLiteral("$0001+41"));
    Button(*window, "bBigRun")->click();
    QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);

    QCOMPARE(texts.size(), 8);
    QCOMPARE(gaps.size(), 2);
    for (int gap : gaps)
        QVERIFY2(gap >= 0 && gap <= 12, qPrintable(QString::number(gap)));
    QCOMPARE(texts.at(0), QStringLiteral("Run Results"));
    QCOMPARE(texts.at(1), QStringLiteral("The program finished successfully."));
    QCOMPARE(texts.at(2), QStringLiteral("Execution time:"));
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d+\\.\\d{3} s$")).match(texts.at(3)).hasMatch(),
             qPrintable(texts.at(3)));
    QCOMPARE(texts.at(4), QStringLiteral("Operators executed:"));
    QCOMPARE(texts.at(5), QStringLiteral("Current values of the cells used:"));
    QCOMPARE(texts.at(6), QStringLiteral("Save Results"));
    QCOMPARE(texts.at(7), QStringLiteral("Close"));
    QCOMPARE(headers, (QStringList{QStringLiteral("Address"), QStringLiteral("Value (binary)"),
                                   QStringLiteral("Value (hex)"), QStringLiteral("Char")}));
}

void TestEnglish::fileNamedUntitledSavesInPlace()
{
    // The untitled project's English name is only a name: a file called so is
    // an ordinary project, and Ctrl+S writes it without asking where.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Untitled"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("$0001");
    file.close();
    // Named on the command line as a user in that folder would.
    const QString home = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const auto back = qScopeGuard([&home] { QDir::setCurrent(home); });
    auto window = ShowMainWindow({QStringLiteral("Untitled")});
    QCOMPARE(window->windowTitle(), QStringLiteral("Vesk - Untitled"));
    TModalScript script; // records any window that comes up: none may
    Editor(*window)->moveCursor(QTextCursor::End);
    QTest::keyClicks(Editor(*window), QStringLiteral("+01"));
    QTest::keyClick(Editor(*window), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(script.Seen().empty());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("$0001+01"));
    QVERIFY(!Editor(*window)->document()->isModified());
}

// As a user with an English desktop starts it: the language comes from the
// environment the application is created in.
int main(int argc, char** argv)
{
    qputenv("LANGUAGE", "en_GB:en");
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
    TVeskApplication app(argc, argv);
    TVeskApplication::SetTitle(QStringLiteral("Vesk"));
    ApplyApplicationStyle(app);
    TestEnglish test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_english.moc"
