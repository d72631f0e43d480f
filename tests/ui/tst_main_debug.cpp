// The debugger in the main window, driven as a user would: breakpoints with F5,
// F9 to land on one, the highlighted next operator and the cells panel, F8
// steps, F4 runs to the caret, Shift+F9 runs unpaced, F12 shows the panel.
#include <QAction>
#include <QDialogButtonBox>
#include <QSlider>
#include <QSpinBox>
#include <QContextMenuEvent>
#include <QStatusBar>
#include <QLineEdit>
#include <QPushButton>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QScopeGuard>
#include <QTableWidget>
#include <QMenu>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTest>
#include <numeric>

#include "formats/results.h"
#include "mainfixture.h"
#include "modalhelper.h"
#include "resultsinspect.h"
#include "ui/debugger/cellsmodel.h"
#include "ui/debugger/cellspanel.h"
#include "ui/debugger/profileview.h"
#include "ui/app/idesettings.h"
#include "ui/editor/codeeditor.h"
#include "ui/results/results.h"

namespace {

const int kWait = 10000;

// Three lines; the second is indented and carries a comment.
const QString kThreeLines = QStringLiteral("$0001 +01\n"
                                           "  $0002\t+02 ' two\n"
                                           "$0003 +03");

// Eleven lines: a loop of three passes around a condition block on line 5.
const QString kLoopAroundCondition = QStringLiteral("' three passes\n"
                                                    "$0001 +01\n"
                                                    "[03:\n"
                                                    "$0001\n"
                                                    "?02 ( $0003 +01 : $0004 +01 : $0005 +01 )\n"
                                                    "$0001 +01\n"
                                                    "]\n"
                                                    "$0002 +01\n"
                                                    "$0002 +01\n"
                                                    "$0002 +01\n"
                                                    "$0002 +01");

TCodeEditor* CodeEditor(const TfMain& window) { return Child<TCodeEditor>(window, "mEditor"); }

void Key(const TfMain& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(Editor(window), Qt::Key(key), modifiers);
}

void CaretToLine(const TfMain& window, int line)
{
    QTextCursor cursor(Editor(window)->document()->findBlockByNumber(line));
    Editor(window)->setTextCursor(cursor);
}

// The text under the next-operator mark, or empty when there is none.
QString MarkedText(const TfMain& window)
{
    const auto* editor = CodeEditor(window);
    const TVeskCore::TCodePos next = window.Core()->NextPosition();
    for (const QTextEdit::ExtraSelection& selection : editor->extraSelections()) {
        if (selection.cursor.blockNumber() == next.line && selection.cursor.hasSelection())
            return selection.cursor.selectedText();
    }
    return {};
}

// "line:text" of the next-operator mark wherever it stands, or empty.
QString ExecutionMark(const TfMain& window)
{
    for (const QTextEdit::ExtraSelection& selection : CodeEditor(window)->extraSelections()) {
        if (selection.cursor.hasSelection())
            return QString::number(selection.cursor.blockNumber()) + QLatin1Char(':')
                   + selection.cursor.selectedText();
    }
    return {};
}

QString Notice(const TfMain& window) { return Child<QLabel>(window, "lStatusNotice")->text(); }

int StackRows(const TfMain& window, const char* name) { return Child<QListWidget>(window, name)->count(); }

// "address=decimal" of every row the panel shows, '*' after a changed one.
QStringList PanelCells(const TfMain& window)
{
    auto* panel = Child<TCellsPanel>(window, "pCellsPanel");
    const TCellsModel& model = panel->Model();
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        QString text = model.index(row, TCellsModel::cAddress).data().toString() + QLatin1Char('=')
                       + model.index(row, TCellsModel::cDecimal).data().toString();
        if (model.index(row, 0).data(TCellsModel::ChangedRole).toBool())
            text += QLatin1Char('*');
        rows << text;
    }
    return rows;
}

// The results rows as "ADDRESS=HEX".
QStringList AddressHex(const std::vector<TResultRow>& rows)
{
    QStringList texts;
    for (const TResultRow& row : rows)
        texts << QString::fromStdU16String(row.address + u'=' + row.hex);
    return texts;
}

} // namespace

class TestMainDebug : public QObject {
    Q_OBJECT
private slots:
    void newItemsAndTheirKeys();
    void breakpointStepContinueToResults();
    void stepOntoErrorShowsErrorBox();
    void runToCursor();
    void loopOnMarkedLinePausesEveryPass();
    void unpacedRunMatchesPaced();
    void unpacedRunStopsAtBreakpointAndContinuesUnpaced();
    void unpacedRunAnswersPauseAndStop();
    void deepStackShowsItsTop();
    void loopStackShowsEachLoopsPlace();
    void breakpointsKeptPerFile();
    void stepsBackShowWhatStepsShowed();
    void editWhilePausedShowsWhatRunsNext();
    void cellsPanelClearedByStopAndNewProject();
    void stepOverLoopAndWatchpointPause();
    void slowPaceShowsEachStepAndIsKept();
    void profileCountsEachLineAndCell();
    void cellChangedByHandWhilePaused();
    void conditionalCountedBreakpointFromGutter();
};

void TestMainDebug::newItemsAndTheirKeys()
{
    // Their order in the menus is checked with the specified items'.
    auto window = ShowMainWindow();
    TModalScript script;
    const auto shortcut = [&](const char* name) {
        return Child<QAction>(*window, name)->shortcut().toString(QKeySequence::PortableText);
    };
    QCOMPARE(shortcut("nRunUnpacedItem"), QStringLiteral("Shift+F9"));
    QCOMPARE(shortcut("nStepItem"), QStringLiteral("F8"));
    QCOMPARE(shortcut("nRunToCursorItem"), QStringLiteral("F4"));
    QCOMPARE(shortcut("nBreakpointItem"), QStringLiteral("F5"));
    QCOMPARE(shortcut("nCellsItem"), QStringLiteral("F12"));
    QCOMPARE(shortcut("nStepBackItem"), QStringLiteral("Shift+F8"));
    QCOMPARE(Child<QAction>(*window, "nRunUnpacedItem")->text(), QStringLiteral("Выполнить &без задержки"));

    // The panel is hidden until F12; F12 again hides it.
    auto* panel = Child<TCellsPanel>(*window, "pCellsPanel");
    QVERIFY(panel->isHidden());
    Key(*window, Qt::Key_F12);
    QVERIFY(panel->isVisible());
    QVERIFY(Child<QAction>(*window, "nCellsItem")->isChecked());
    Key(*window, Qt::Key_F12);
    QVERIFY(panel->isHidden());
    QVERIFY(!Child<QAction>(*window, "nCellsItem")->isChecked());

    // While a program runs, the ways to run are disabled like Run: their keys do nothing.
    SetProgram(*window, QStringLiteral("$0001[+01]"));
    Key(*window, Qt::Key_F9);
    QTRY_VERIFY_WITH_TIMEOUT(window->Core()->Step() > 3, kWait);
    // The highlight follows the running program.
    QTRY_VERIFY_WITH_TIMEOUT(!MarkedText(*window).isEmpty(), kWait);
    window->nProjectItemClick();
    for (const char* name : {"nRunUnpacedItem", "nStepItem", "nRunToCursorItem"})
        QVERIFY2(!Child<QAction>(*window, name)->isEnabled(), name);
    QVERIFY(Child<QAction>(*window, "nBreakpointItem")->isEnabled());
    Key(*window, Qt::Key_F9, Qt::ShiftModifier);
    QCOMPARE(window->Core()->TimerSlice(), 0.0);
    Key(*window, Qt::Key_F2, Qt::ControlModifier);
    QCOMPARE(RunControls(*window), kStopped);
}

void TestMainDebug::breakpointStepContinueToResults()
{
    auto window = ShowMainWindow();
    TModalScript script;
    SetProgram(*window, kThreeLines);
    CaretToLine(*window, 1);
    Key(*window, Qt::Key_F5);
    QCOMPARE(CodeEditor(*window)->Breakpoints(), QList<int>{1});
    Key(*window, Qt::Key_F12);

    Key(*window, Qt::Key_F9);
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
    // Before the first operator of the marked line: two operators and a line advance ran.
    QCOMPARE(window->Core()->Step(), 3u);
    QCOMPARE(MarkedText(*window), QStringLiteral("$0002"));
    QCOMPARE(PanelCells(*window), QStringList{"$0001=1*"});

    Key(*window, Qt::Key_F8);
    QTRY_COMPARE_WITH_TIMEOUT(window->Core()->Step(), 4u, kWait);
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
    // Mapped past the indent, the operator and the tab of the editor's text.
    QCOMPARE(MarkedText(*window), QStringLiteral("+02"));
    QCOMPARE(PanelCells(*window), (QStringList{"$0001=1", "$0002=0*"}));
    auto* panel = Child<TCellsPanel>(*window, "pCellsPanel");
    QCOMPARE(panel->Model().CurrentRow(), 1);

    Key(*window, Qt::Key_F8);
    QTRY_COMPARE_WITH_TIMEOUT(window->Core()->Step(), 5u, kWait);
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
    QCOMPARE(PanelCells(*window), (QStringList{"$0001=1", "$0002=2*"}));

    TResultsSeen seen;
    InspectResults(script, *window, seen);
    Key(*window, Qt::Key_F9);
    QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);
    QCOMPARE(AddressHex(seen.rows), (QStringList{"$0001=01", "$0002=02", "$0003=03"}));
    QCOMPARE(seen.steps, QStringLiteral("10"));
    QCOMPARE(seen.time, seen.expectedTime);
    QVERIFY(!seen.changedByHand);
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kStopped, kWait);
    QVERIFY(MarkedText(*window).isEmpty());
}

void TestMainDebug::stepOntoErrorShowsErrorBox()
{
    auto window = ShowMainWindow();
    TModalScript script;
    SetProgram(*window, QStringLiteral("\t+01"));
    // From a stopped program: paused before the first operator, nothing run yet.
    Key(*window, Qt::Key_F8);
    QCOMPARE(RunControls(*window), kPaused);
    QCOMPARE(window->Core()->Step(), 0u);
    QCOMPARE(MarkedText(*window), QStringLiteral("+01"));
    QVERIFY(Editor(*window)->hasFocus());
    script.Answer(QMessageBox::Ok);
    Key(*window, Qt::Key_F8);
    QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);
    QCOMPARE(script.Seen().at(0).text,
             QStringLiteral("Произошла ошибка при выполнении программы\nСтрока: 1, символ: 2.\n"
                            "Сообщение: Ошибка при доступе к памяти."));
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kStopped, kWait);
    QCOMPARE(window->Core()->Step(), 1u);
}

void TestMainDebug::runToCursor()
{
    auto window = ShowMainWindow();
    TModalScript script;
    SetProgram(*window, kThreeLines);
    CaretToLine(*window, 2);
    Key(*window, Qt::Key_F4);
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
    QCOMPARE(window->Core()->NextPosition().line, 2);
    QCOMPARE(MarkedText(*window), QStringLiteral("$0003"));
    // The target is used up: the run goes on to the end.
    TResultsSeen seen;
    InspectResults(script, *window, seen);
    Key(*window, Qt::Key_F9);
    QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);
    QCOMPARE(int(seen.rows.size()), 3);

    // A target that a pause cut short is dropped by the next Run.
    SetProgram(*window, QStringLiteral("$0001\n[ +01 ]\n$0002"));
    CaretToLine(*window, 2);
    Key(*window, Qt::Key_F4);
    QTRY_VERIFY_WITH_TIMEOUT(window->Core()->Step() > 5, kWait);
    Button(*window, "bBigPause")->click();
    Key(*window, Qt::Key_F9);
    QCOMPARE(window->Core()->RunToLine(), -1);
    Button(*window, "bBigStop")->click();
}

void TestMainDebug::loopOnMarkedLinePausesEveryPass()
{
    auto window = ShowMainWindow();
    TModalScript script;
    SetProgram(*window, QStringLiteral("$0001\n[03: +01 ]\n$0002"));
    CaretToLine(*window, 1);
    Key(*window, Qt::Key_F5);
    Key(*window, Qt::Key_F12);
    QList<std::uint64_t> pauses;
    for (int pass = 0; pass < 3; ++pass) {
        Key(*window, Qt::Key_F9);
        QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
        pauses << window->Core()->Step();
        QCOMPARE(window->Core()->NextPosition().line, 1);
    }
    // Arrived from line 0, then by the jump back into the loop's body, which
    // the first step after each continue leaves behind.
    QCOMPARE(pauses, (QList<std::uint64_t>{2, 5, 7}));
    QCOMPARE(PanelCells(*window), QStringList{"$0001=2*"});
    Key(*window, Qt::Key_F2, Qt::ControlModifier);
}

void TestMainDebug::unpacedRunMatchesPaced()
{
    // 20 × 15 passes: long enough to take several slices.
    const QString program = QStringLiteral("$0001 [14: $0002 [0F: +01 ] $0001 +02 ]\n$0003 +@0001");
    QStringList rows[2];
    QString steps[2];
    for (int unpaced = 0; unpaced < 2; ++unpaced) {
        auto window = ShowMainWindow();
        TModalScript script;
        TResultsSeen seen;
        InspectResults(script, *window, seen);
        SetProgram(*window, program);
        QElapsedTimer clock;
        clock.start();
        Key(*window, Qt::Key_F9, unpaced ? Qt::ShiftModifier : Qt::NoModifier);
        QCOMPARE(window->Core()->TimerSlice() > 0, bool(unpaced));
        QTRY_VERIFY_WITH_TIMEOUT(script.Done(), 4 * kWait);
        // The status bar tells the time the run took, which no clock outside it can undercut.
        const QString wall = Child<QLabel>(*window, "lStatusTime")->text();
        const auto match = QRegularExpression(QStringLiteral("^Время: (\\d+\\.\\d{3}) сек\\.$")).match(wall);
        QVERIFY2(match.hasMatch(), qPrintable(wall));
        QVERIFY(match.captured(1).toDouble() * 1000 <= double(clock.elapsed()) + 1);
        rows[unpaced] = AddressHex(seen.rows);
        steps[unpaced] = seen.steps;
        QCOMPARE(seen.time, seen.expectedTime);
        // Each step adds at least 70/99 of 1/4,680,000 of a day.
        const double floorDays = seen.steps.toDouble() * 70.0 / 99.0 / 4680000.0;
        QVERIFY(window->Core()->EndTime() >= floorDays);
        QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kStopped, kWait);
    }
    QCOMPARE(rows[1], rows[0]);
    QCOMPARE(steps[1], steps[0]);
    QCOMPARE(rows[0], (QStringList{"$0001=28", "$0002=2C", "$0003=28"}));
}

void TestMainDebug::unpacedRunStopsAtBreakpointAndContinuesUnpaced()
{
    auto window = ShowMainWindow();
    TModalScript script;
    SetProgram(*window, QStringLiteral("$0001\n[ +01\n ?00 ( $0002 +01 : ) ]"));
    CaretToLine(*window, 2);
    Key(*window, Qt::Key_F5);
    Key(*window, Qt::Key_F9, Qt::ShiftModifier);
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
    QCOMPARE(window->Core()->NextPosition().line, 2);
    const auto first = window->Core()->Step();
    // Continue with Run: still unpaced, and the breakpoint stops it again.
    Key(*window, Qt::Key_F9);
    QVERIFY(window->Core()->TimerSlice() > 0);
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
    QVERIFY(window->Core()->Step() > first);
    // Without the breakpoint it runs on until paused.
    Key(*window, Qt::Key_F5);
    Key(*window, Qt::Key_F9);
    QCOMPARE(RunControls(*window), kRunning);
    QTRY_VERIFY_WITH_TIMEOUT(window->Core()->Step() > first + 20000, kWait);
    Button(*window, "bBigPause")->click();
    QCOMPARE(RunControls(*window), kPaused);
    Button(*window, "bBigStop")->click();
}

void TestMainDebug::unpacedRunAnswersPauseAndStop()
{
    auto window = ShowMainWindow();
    TModalScript script;
    SetProgram(*window, QStringLiteral("$0001[+01]"));
    Key(*window, Qt::Key_F12);
    Key(*window, Qt::Key_F9, Qt::ShiftModifier);
    QCOMPARE(RunControls(*window), kRunning);
    // Far more steps than a paced run makes in the time.
    QTRY_VERIFY_WITH_TIMEOUT(window->Core()->Step() > 100000, kWait);
    // The panel follows the running program.
    QTRY_COMPARE_WITH_TIMEOUT(PanelCells(*window).size(), 1, kWait);
    QCOMPARE(RunControls(*window), kRunning);
    // Typing reaches the editor while it runs.
    QTest::keyClicks(Editor(*window), QStringLiteral("'x"));
    QVERIFY(Editor(*window)->toPlainText().contains(QStringLiteral("'x")));
    Button(*window, "bBigPause")->click();
    const auto paused = window->Core()->Step();
    QTest::qWait(50);
    QCOMPARE(window->Core()->Step(), paused);
    // Closing asks first; No keeps it paused.
    script.Answer(QMessageBox::No);
    window->close();
    QVERIFY(script.Done());
    QCOMPARE(RunControls(*window), kPaused);
    Key(*window, Qt::Key_F9);
    QTRY_VERIFY_WITH_TIMEOUT(window->Core()->Step() > paused + 100000, kWait);
    Key(*window, Qt::Key_F2, Qt::ControlModifier);
    QCOMPARE(RunControls(*window), kStopped);
    QCOMPARE(window->Core()->Step(), 0u);
}

void TestMainDebug::deepStackShowsItsTop()
{
    auto window = ShowMainWindow();
    TModalScript script;
    // Every pass pushes and leaves the branch before the pop.
    SetProgram(*window, QStringLiteral("$0001 [ ?00 ( { : } ) ]"));
    Key(*window, Qt::Key_F12);
    Key(*window, Qt::Key_F9, Qt::ShiftModifier);
    QTRY_VERIFY_WITH_TIMEOUT(window->Core()->Step() > 100000, kWait);
    Button(*window, "bBigPause")->click();
    const std::size_t entries = window->Core()->AddressStackSize();
    QVERIFY(entries > 1000);
    auto* list = Child<QListWidget>(*window, "lAddressStack");
    QCOMPARE(list->count(), 1001);
    QCOMPARE(list->item(0)->text(), QStringLiteral("$0001"));
    QCOMPARE(list->item(1000)->text(), QStringLiteral("… ещё %1").arg(entries - 1000));
    QCOMPARE(Child<QListWidget>(*window, "lLoopStack")->item(0)->text(),
             QStringLiteral("Строка 1, символ 7: бесконечный"));
    Button(*window, "bBigStop")->click();
}

void TestMainDebug::loopStackShowsEachLoopsPlace()
{
    auto window = ShowMainWindow();
    TModalScript script;
    // Two loops share the middle line; columns count the editor's blanks.
    SetProgram(*window, QStringLiteral("$0001 [02:\n [03:  [04:\n  [ +01 ] ] ] ]"));
    Key(*window, Qt::Key_F12);
    CaretToLine(*window, 2);
    Key(*window, Qt::Key_F5);
    Key(*window, Qt::Key_F9);
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
    Key(*window, Qt::Key_F8);
    QTRY_COMPARE_WITH_TIMEOUT(window->Core()->LoopStack().size(), std::size_t(4), kWait);
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
    auto* list = Child<QListWidget>(*window, "lLoopStack");
    QStringList places;
    for (int i = 0; i < list->count(); ++i)
        places << list->item(i)->text().section(QStringLiteral(": "), 0, 0);
    QCOMPARE(places, (QStringList{"Строка 3, символ 3", "Строка 2, символ 8",
                                  "Строка 2, символ 2", "Строка 1, символ 7"}));
    Button(*window, "bBigStop")->click();
}

void TestMainDebug::breakpointsKeptPerFile()
{
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("first.veskp"));
    const QString second = dir.filePath(QStringLiteral("second.veskp"));
    for (const QString& path : {first, second}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("$0001\r\n+01\r\n+02\r\n");
    }
    // Named on the command line by a relative path, then opened by its full one.
    const QString home = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const auto back = qScopeGuard([&home] { QDir::setCurrent(home); });
    auto window = ShowMainWindow({QStringLiteral("first.veskp")});
    TModalScript script;
    CodeEditor(*window)->SetBreakpoints({0, 2});
    CodeEditor(*window)->SetBreakpointRule({2, QStringLiteral("$0001 ?01"), 3});

    script.ChooseFile(second);
    Key(*window, Qt::Key_O, Qt::ControlModifier);
    QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);
    QCOMPARE(window->CurrentFile(), second);
    QTRY_VERIFY_WITH_TIMEOUT(CodeEditor(*window)->Breakpoints().isEmpty(), kWait);
    CaretToLine(*window, 1);
    Key(*window, Qt::Key_F5);

    script.ChooseFile(first);
    Key(*window, Qt::Key_O, Qt::ControlModifier);
    QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);
    QTRY_COMPARE_WITH_TIMEOUT(CodeEditor(*window)->Breakpoints(), (QList<int>{0, 2}), kWait);
    QCOMPARE(CodeEditor(*window)->BreakpointRuleAt(2).condition, QStringLiteral("$0001 ?01"));
    QCOMPARE(CodeEditor(*window)->BreakpointRuleAt(2).hitCount, 3u);

    script.ChooseFile(second);
    Key(*window, Qt::Key_O, Qt::ControlModifier);
    QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);
    QTRY_COMPARE_WITH_TIMEOUT(CodeEditor(*window)->Breakpoints(), QList<int>{1}, kWait);
    // The project file itself is untouched.
    QFile file(second);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("$0001\r\n+01\r\n+02\r\n"));

    // A new project starts without breakpoints.
    Key(*window, Qt::Key_N, Qt::ControlModifier);
    QTRY_VERIFY_WITH_TIMEOUT(CodeEditor(*window)->Breakpoints().isEmpty(), kWait);
}

void TestMainDebug::editWhilePausedShowsWhatRunsNext()
{
    auto window = ShowMainWindow();
    SetProgram(*window, kLoopAroundCondition);
    Key(*window, Qt::Key_F12);
    CaretToLine(*window, 4);
    Key(*window, Qt::Key_F5);
    Key(*window, Qt::Key_F9);
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
    QCOMPARE(ExecutionMark(*window), QStringLiteral("4:?02"));
    QVERIFY(Notice(*window).isEmpty());

    // A line typed above: the run goes on with its own text, and the screen
    // shows its places where they now stand.
    Key(*window, Qt::Key_Home, Qt::ControlModifier);
    Key(*window, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(!Notice(*window).isEmpty(), kWait);
    QCOMPARE(ExecutionMark(*window), QStringLiteral("5:?02"));
    auto* loops = Child<QListWidget>(*window, "lLoopStack");
    QVERIFY(loops->item(0)->text().startsWith(QStringLiteral("Строка 4, символ 1: ")));
    const auto steps = window->Core()->Step();
    Key(*window, Qt::Key_F8);
    QTRY_COMPARE_WITH_TIMEOUT(window->Core()->Step(), steps + 1, kWait);
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
    QVERIFY2(ExecutionMark(*window).startsWith(QStringLiteral("5:")), qPrintable(ExecutionMark(*window)));
    QCOMPARE(CodeEditor(*window)->Breakpoints(), QList<int>{5});
    // The moved marker stops the run where it stands: the condition's line.
    Key(*window, Qt::Key_F9);
    QTRY_VERIFY_WITH_TIMEOUT(window->Core()->Step() > steps + 1, kWait);
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
    QCOMPARE(window->Core()->NextPosition().line, 4);
    QVERIFY2(ExecutionMark(*window).startsWith(QStringLiteral("5:")), qPrintable(ExecutionMark(*window)));

    // The line that runs next changed: no mark anywhere, and the status says why.
    Editor(*window)->setTextCursor(QTextCursor(Editor(*window)->document()->findBlockByNumber(5)));
    Key(*window, Qt::Key_End);
    QTest::keyClicks(Editor(*window), QStringLiteral(" '"));
    QTRY_COMPARE_WITH_TIMEOUT(Notice(*window),
                              QStringLiteral("Строка, которая выполняется, удалена или изменена после запуска"),
                              kWait);
    QVERIFY(ExecutionMark(*window).isEmpty());
    Button(*window, "bBigStop")->click();
    QVERIFY(Notice(*window).isEmpty());
}

void TestMainDebug::cellsPanelClearedByStopAndNewProject()
{
    auto window = ShowMainWindow();
    SetProgram(*window, QStringLiteral("$0001 [ +01 ]"));
    Key(*window, Qt::Key_F12);
    for (const bool stop : {true, false}) {
        Key(*window, Qt::Key_F9);
        QTRY_VERIFY_WITH_TIMEOUT(window->Core()->Step() > 5, kWait);
        Button(*window, "bBigPause")->click();
        QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
        QCOMPARE(PanelCells(*window).size(), 1);
        QCOMPARE(StackRows(*window, "lLoopStack"), 1);
        if (stop) {
            Button(*window, "bBigStop")->click();
        } else {
            Editor(*window)->document()->setModified(false);
            Key(*window, Qt::Key_N, Qt::ControlModifier);
            SetProgram(*window, QStringLiteral("$0001 [ +01 ]"));
        }
        QVERIFY(PanelCells(*window).isEmpty());
        QCOMPARE(StackRows(*window, "lLoopStack"), 0);
        QCOMPARE(StackRows(*window, "lAddressStack"), 0);
    }
    Button(*window, "bBigStop")->click();
}

// F8 several times, then Shift+F8 as many: each moment shows again what it showed
// (the highlight, the cells, the stacks, the status bar), and F9 goes on to the same results.
void TestMainDebug::stepsBackShowWhatStepsShowed()
{
    auto window = ShowMainWindow();
    TModalScript script;
    SetProgram(*window, QStringLiteral("$0001 {{$0002 +02} +03} $0001 [02: +01 $0003 ^0001]\n~0003 $0001"));
    Key(*window, Qt::Key_F12);
    auto* panel = Child<TCellsPanel>(*window, "pCellsPanel");
    const auto shown = [&] {
        QStringList cells = PanelCells(*window);
        for (QString& cell : cells)
            cell.remove(QLatin1Char('*')); // what changed is told against the moment shown before
        QStringList stacks;
        for (const char* name : {"lAddressStack", "lLoopStack"}) {
            auto* list = Child<QListWidget>(*window, name);
            for (int i = 0; i < list->count(); ++i)
                stacks << list->item(i)->text();
        }
        return QStringList{MarkedText(*window), cells.join(u' '), stacks.join(u' '),
                           Child<QLabel>(*window, "lStatusSteps")->text(),
                           Child<QLabel>(*window, "lStatusState")->text(), QString::number(panel->Model().CurrentRow())};
    };
    constexpr int kSteps = 21; // through the destroy of the current cell
    QList<QStringList> forward;
    Key(*window, Qt::Key_F8);
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
    forward << shown();
    for (int i = 1; i <= kSteps; ++i) {
        Key(*window, Qt::Key_F8);
        QTRY_COMPARE_WITH_TIMEOUT(window->Core()->Step(), quint64(i), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
        forward << shown();
    }
    for (int i = kSteps - 1; i >= 0; --i) {
        Key(*window, Qt::Key_F8, Qt::ShiftModifier);
        QCOMPARE(window->Core()->Step(), quint64(i));
        QCOMPARE(shown(), forward[i]);
        QCOMPARE(RunControls(*window), kPaused);
    }
    // at the start there is nothing further back
    Key(*window, Qt::Key_F8, Qt::ShiftModifier);
    QCOMPARE(window->Core()->Step(), 0u);
    TResultsSeen seen;
    InspectResults(script, *window, seen);
    Key(*window, Qt::Key_F9);
    QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);
    QCOMPARE(AddressHex(seen.rows), (QStringList{"$0001=01", "$0002=02"}));
    QCOMPARE(seen.steps, QStringLiteral("23"));
}

void TestMainDebug::stepOverLoopAndWatchpointPause()
{
    auto window = ShowMainWindow();
    TModalScript script;
    SetProgram(*window, QStringLiteral("$0001[03:+01]+05"));
    Key(*window, Qt::Key_F8);
    Key(*window, Qt::Key_F8);
    QTRY_COMPARE_WITH_TIMEOUT(window->Core()->Step(), 1u, kWait);
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
    QCOMPARE(MarkedText(*window), QStringLiteral("[03:"));
    // Over the whole loop, counted as a run counts it: `[`, then three passes of `+01` and `]`.
    Key(*window, Qt::Key_F8, Qt::ControlModifier);
    QTRY_COMPARE_WITH_TIMEOUT(window->Core()->Step(), 8u, kWait);
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
    QCOMPARE(MarkedText(*window), QStringLiteral("+05"));
    Key(*window, Qt::Key_F2, Qt::ControlModifier);
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kStopped, kWait);

    // A watchpoint on a cell the program names in another letter case; a bad
    // address is refused at once and the dialog stays.
    SetProgram(*window, QStringLiteral("$00ab+00+01"));
    script.Then([](QWidget* dialog) {
        Child<QLineEdit>(*dialog, "mWatchAddress")->setText(QStringLiteral("00G0"));
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        QVERIFY(dialog->isVisible());
        Child<QLineEdit>(*dialog, "mWatchAddress")->setText(QStringLiteral("00AB"));
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    script.Answer(QMessageBox::Ok);
    Key(*window, Qt::Key_F5, Qt::ControlModifier);
    QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);
    QCOMPARE(script.Seen().at(1).text,
             QStringLiteral("Укажите адрес из четырёх шестнадцатеричных цифр и хотя бы одно событие."));
    QCOMPARE(window->Core()->Watchpoints().size(), 1u);
    Key(*window, Qt::Key_F9);
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
    // the value change, not the store of an equal value
    QCOMPARE(window->Core()->Step(), 3u);
    QCOMPARE(Child<QLabel>(*window, "lStatusState")->text(), QStringLiteral("Ячейка 00AB изменена: 00 → 01"));
    // From the cells table, the dialog opens on the chosen cell.
    QString offered;
    script.Then([&offered](QWidget* dialog) {
        offered = Child<QLineEdit>(*dialog, "mWatchAddress")->text();
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    Key(*window, Qt::Key_F12);
    auto* table = Child<QTableView>(*window, "lCellsTable");
    QTRY_COMPARE_WITH_TIMEOUT(table->model()->rowCount(), 1, kWait);
    table->selectionModel()->select(table->model()->index(0, 0),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    Child<QAction>(*window, "nCellWatchItem")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);
    QCOMPARE(offered, QStringLiteral("00ab"));
    QCOMPARE(window->Core()->Watchpoints().size(), 2u);
    Key(*window, Qt::Key_F2, Qt::ControlModifier);
}

void TestMainDebug::slowPaceShowsEachStepAndIsKept()
{
    auto window = ShowMainWindow();
    TModalScript script;
    TResultsSeen seen;
    InspectResults(script, *window, seen);
    Key(*window, Qt::Key_F12);
    Child<QAction>(*window, "nSpeedSlowItem")->trigger();
    QCOMPARE(TIdeSettings().TickMs(), 100);
    // What the panel shows each time it changes: every value the cell takes.
    QStringList shown;
    const TCellsModel& model = Child<TCellsPanel>(*window, "pCellsPanel")->Model();
    const auto record = [&] {
        const QStringList cells = PanelCells(*window);
        if (!cells.isEmpty() && (shown.isEmpty() || shown.back() != cells.join(u' ')))
            shown << cells.join(u' ');
    };
    connect(&model, &QAbstractItemModel::dataChanged, this, record);
    connect(&model, &QAbstractItemModel::rowsInserted, this, record);
    SetProgram(*window, QStringLiteral("$0001 +01 +01 +01"));
    QElapsedTimer clock;
    clock.start();
    Key(*window, Qt::Key_F9);
    QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);
    // Six steps, one a tick a tenth of a second apart (the start takes the first at once).
    QVERIFY(clock.elapsed() >= 5 * 100 - 20);
    QCOMPARE(seen.steps, QStringLiteral("6"));
    QCOMPARE(seen.time, seen.expectedTime);
    QCOMPARE(shown.mid(shown.indexOf(QStringLiteral("$0001=1*"))),
             (QStringList{"$0001=1*", "$0001=2*", "$0001=3*"}));
    // The next window keeps the choice.
    window.reset();
    auto next = std::make_unique<TfMain>(QStringList{});
    QVERIFY(Child<QAction>(*next, "nSpeedSlowItem")->isChecked());
    QVERIFY(!Child<QAction>(*next, "nSpeedNormalItem")->isChecked());
    TIdeSettings().Clear();
}

void TestMainDebug::profileCountsEachLineAndCell()
{
    auto window = ShowMainWindow();
    QVERIFY(!Child<QAction>(*window, "nProfileItem")->isChecked());
    const QString program = QStringLiteral("$0001\n[03: +01 ]\n$0002 +01 +01");
    SetProgram(*window, program);
    for (const bool profiling : {false, true}) {
        TModalScript script;
        TResultsSeen first;
        TResultsSeen seen;
        InspectResults(script, *window, first);
        InspectResults(script, *window, seen);
        // Turned on during a run, counting waits for the next one.
        Key(*window, Qt::Key_F8);
        QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
        Key(*window, Qt::Key_F8);
        QTRY_COMPARE_WITH_TIMEOUT(window->Core()->Step(), 1u, kWait);
        if (profiling)
            Child<QAction>(*window, "nProfileItem")->trigger();
        Key(*window, Qt::Key_F9, Qt::ShiftModifier);
        QTRY_VERIFY_WITH_TIMEOUT(!first.steps.isEmpty(), kWait);
        QVERIFY(CodeEditor(*window)->LineCounts().isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kStopped, kWait);
        Key(*window, Qt::Key_F9, Qt::ShiftModifier);
        QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);
        const QList<quint64> counts = CodeEditor(*window)->LineCounts();
        if (!profiling) {
            QVERIFY(counts.isEmpty());
            continue;
        }
        // Every step lands on a line, the end of the program on the last one.
        QCOMPARE(counts.size(), 3);
        QCOMPARE(QString::number(std::accumulate(counts.begin(), counts.end(), quint64(0))), seen.steps);
        QVERIFY(counts[1] > counts[0] && counts[1] > counts[2]);
    }
    Child<QAction>(*window, "nProfileViewItem")->trigger();
    auto* view = Child<TProfileView>(*window, "pProfileView");
    QVERIFY(view->isVisible());
    QCOMPARE(view->Lines()->item(0, 0)->text(), QStringLiteral("2"));
    QCOMPARE(view->Lines()->item(0, 1)->text(), QString::number(CodeEditor(*window)->LineCounts()[1]));
    // $0001 takes three stores, $0002 two.
    QCOMPARE(view->Cells()->rowCount(), 2);
    QCOMPARE(view->Cells()->item(0, 0)->text() + u'=' + view->Cells()->item(0, 1)->text(), QStringLiteral("0001=3"));
    QCOMPARE(view->Cells()->item(1, 0)->text() + u'=' + view->Cells()->item(1, 1)->text(), QStringLiteral("0002=2"));
    // Turned off, nothing of the profile stays on show.
    Child<QAction>(*window, "nProfileItem")->trigger();
    QVERIFY(CodeEditor(*window)->LineCounts().isEmpty());
    QCOMPARE(view->Lines()->rowCount(), 0);
}

void TestMainDebug::cellChangedByHandWhilePaused()
{
    auto window = ShowMainWindow();
    TModalScript script;
    SetProgram(*window, kThreeLines);
    CaretToLine(*window, 1);
    Key(*window, Qt::Key_F5);
    Key(*window, Qt::Key_F12);
    Key(*window, Qt::Key_F9);
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
    QCOMPARE(window->Core()->Step(), 3u);
    // One step on and back: the run's history now holds a future.
    Key(*window, Qt::Key_F8);
    QTRY_COMPARE_WITH_TIMEOUT(window->Core()->Step(), 4u, kWait);
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
    Key(*window, Qt::Key_F8, Qt::ShiftModifier);
    QCOMPARE(window->Core()->Step(), 3u);

    const auto type = [](QWidget* dialog, const QString& address, const QString& value) {
        if (!address.isNull())
            Child<QLineEdit>(*dialog, "mCellAddress")->setText(address);
        Child<QLineEdit>(*dialog, "mCellValue")->setText(value);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    };
    // A hexadecimal value without its prefix is refused at once, the dialog stays.
    QString offered;
    bool stayed = false;
    script.Then([&](QWidget* dialog) {
        offered = Child<QLineEdit>(*dialog, "mCellAddress")->text();
        type(dialog, QString(), QStringLiteral("1F"));
        stayed = dialog->isVisible();
        type(dialog, QString(), QStringLiteral("0x1F"));
    });
    script.Answer(QMessageBox::Ok);
    auto* table = Child<QTableView>(*window, "lCellsTable");
    // As a click selects it (selectRow would take the keyboard's last modifiers).
    table->selectionModel()->select(table->model()->index(0, 0),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QCOMPARE(Child<TCellsPanel>(*window, "pCellsPanel")->SelectedAddress(), QStringLiteral("$0001"));
    Child<QAction>(*window, "nCellValueItem")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);
    QCOMPARE(offered, QStringLiteral("0001"));
    QVERIFY(stayed);
    QVERIFY(script.Seen().at(1).text.contains(QStringLiteral("0b11111")));
    QCOMPARE(PanelCells(*window), QStringList{"$0001=31*"});
    QCOMPARE(window->statusBar()->currentMessage(),
             QStringLiteral("Ячейка изменена вручную: дальнейшая история отброшена"));
    // The future was dropped: nothing to run forward to from the timeline.
    QCOMPARE(Child<QSlider>(*window, "sTimeline")->maximum(), 3);

    // A new cell, in binary, comes after those that exist, in the results too.
    script.Then([&](QWidget* dialog) { type(dialog, QStringLiteral("00ff"), QStringLiteral("0b101")); });
    Child<QAction>(*window, "nAddCellItem")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);
    QCOMPARE(PanelCells(*window), (QStringList{"$0001=31", "$00ff=5*"}));

    TResultsSeen seen;
    InspectResults(script, *window, seen);
    Key(*window, Qt::Key_F9);
    QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);
    QCOMPARE(AddressHex(seen.rows), (QStringList{"$0001=1F", "$00ff=05", "$0002=02", "$0003=03"}));
    QVERIFY(seen.changedByHand);
    // the program itself is as it was
    QCOMPARE(CodeEditor(*window)->ProgramText(), kThreeLines);
}

void TestMainDebug::conditionalCountedBreakpointFromGutter()
{
    auto window = ShowMainWindow();
    TModalScript script;
    // The cell is 0, 1, ..., 8 on the nine arrivals at "+01".
    SetProgram(*window, QStringLiteral("$0001\n[09:\n+01\n]"));
    TCodeEditor* editor = CodeEditor(*window);
    auto* gutter = Child<QWidget>(*window, "pGutter");
    CaretToLine(*window, 2);
    Key(*window, Qt::Key_F5);
    const QImage plain = gutter->grab().toImage();

    // The gutter's menu on line 2; its item opens the dialog.
    QTimer menuPoll;
    menuPoll.setInterval(5);
    connect(&menuPoll, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr)
            return;
        menuPoll.stop();
        menu->setActiveAction(menu->findChild<QAction*>(QStringLiteral("nBreakConditionItem")));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    // An invalid condition is refused at once; the second odd value's arrival is asked for.
    bool stayed = false;
    script.Then([&](QWidget* dialog) {
        Child<QLineEdit>(*dialog, "mBreakCondition")->setText(QStringLiteral("$0001 ?0G"));
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        stayed = dialog->isVisible();
        Child<QLineEdit>(*dialog, "mBreakCondition")->setText(QStringLiteral("$0001 ??"));
        Child<QSpinBox>(*dialog, "mBreakHitCount")->setValue(2);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    script.Answer(QMessageBox::Ok);
    menuPoll.start();
    const QTextBlock block = editor->document()->findBlockByNumber(2);
    const QPoint at(gutter->width() / 2, editor->cursorRect(QTextCursor(block)).center().y());
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, gutter->mapToGlobal(at));
    QApplication::sendEvent(gutter, &event);
    QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);
    QVERIFY(stayed);
    QVERIFY(script.Seen().at(1).text.contains(QStringLiteral("$0010 ?@0011")));
    QCOMPARE(editor->BreakpointRules().size(), 1);
    QCOMPARE(editor->BreakpointRules().first().condition, QStringLiteral("$0001 ??"));
    QVERIFY(gutter->grab().toImage() != plain);

    Key(*window, Qt::Key_F12);
    Key(*window, Qt::Key_F9);
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
    QCOMPARE(MarkedText(*window), QStringLiteral("+01"));
    QCOMPARE(PanelCells(*window).value(0).remove(u'*'), QStringLiteral("$0001=3"));
    // A line typed above: the rule stays on the running copy's line, and its count goes on.
    QTextCursor(editor->document()).insertText(QStringLiteral("' odd\n"));
    QTRY_COMPARE_WITH_TIMEOUT(editor->BreakpointRules().value(0).line, 3, kWait);
    QTRY_COMPARE_WITH_TIMEOUT(window->Core()->BreakRules().Rules().at(0).line, 2, kWait);
    // No further hit (a restarted count would stop at 7): the run ends.
    TResultsSeen seen;
    InspectResults(script, *window, seen);
    Key(*window, Qt::Key_F9);
    QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);
    QCOMPARE(AddressHex(seen.rows), QStringList{"$0001=09"});

    // Removing the breakpoint forgets its rule.
    CaretToLine(*window, 3);
    Key(*window, Qt::Key_F5);
    Key(*window, Qt::Key_F5);
    QVERIFY(editor->BreakpointRules().isEmpty());
    QVERIFY(window->Core()->BreakRules().Rules().empty());
}

VESK_MAIN_WINDOW_TEST(TestMainDebug)
#include "tst_main_debug.moc"
