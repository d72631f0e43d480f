// The program editor in the main window: breakpoints, gutter, marks, colours,
// checking while typing and the caret's place in the status bar.
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QInputDialog>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "formats/errorreport.h"
#include "formats/projectread.h"
#include "mainfixture.h"
#include "modalhelper.h"
#include "ui/editor/bracketpartner.h"
#include "ui/editor/codeeditor.h"
#include "ui/editor/highlighter.h"
#include "ui/editor/sourcechecker.h"

namespace {

constexpr int kWait = 5000;

TCodeEditor* CodeEditor(const TfMain& window) { return Child<TCodeEditor>(window, "mEditor"); }

QString Label(const TfMain& window, const char* name) { return Child<QLabel>(window, name)->text(); }

void PutCaret(QPlainTextEdit* editor, int line, int column)
{
    QTextCursor cursor(editor->document()->findBlockByNumber(line));
    cursor.setPosition(cursor.position() + column);
    editor->setTextCursor(cursor);
}

// The text under each extra selection that marks characters, in order.
QStringList MarkedTexts(const TCodeEditor& editor)
{
    QStringList texts;
    for (const auto& selection : editor.extraSelections()) {
        if (!selection.format.property(QTextFormat::FullWidthSelection).toBool())
            texts.append(selection.cursor.selectedText());
    }
    return texts;
}

// Where the first mark of characters starts, or -1.
int FirstMarkStart(const TCodeEditor& editor)
{
    for (const auto& selection : editor.extraSelections()) {
        if (selection.cursor.hasSelection())
            return selection.cursor.selectionStart();
    }
    return -1;
}

// The format the highlighter gave the character at column of line 0.
QTextCharFormat FormatAt(const QPlainTextEdit& editor, int line, int column)
{
    const QTextBlock block = editor.document()->findBlockByNumber(line);
    for (const auto& range : block.layout()->formats()) {
        if (column >= range.start && column < range.start + range.length)
            return range.format;
    }
    return {};
}

// A conformance case: its program as a user's file holds it, and what a run reports.
struct TConformanceError {
    QString name;
    QString program;
    int steps = 0;
    int line = 0;   // 1-based
    int column = 0; // as the error report counts
    QString message;
};

QList<TConformanceError> ConformanceErrors()
{
    QList<TConformanceError> cases;
    const QDir folder(QStringLiteral(VESK_SOURCE_DIR "/tests/conformance"));
    for (const QString& file : folder.entryList({QStringLiteral("err_*.veskp")}, QDir::Files, QDir::Name)) {
        const QString name = file.chopped(6);
        QFile json(folder.filePath(name + QStringLiteral(".json")));
        if (!json.open(QIODevice::ReadOnly))
            qFatal("no answer for %s", qPrintable(file));
        const QJsonObject answer = QJsonDocument::fromJson(json.readAll()).object();
        const QJsonObject error = answer.value(QStringLiteral("error")).toObject();
        cases.append({name, QString::fromStdU16String(ReadProjectFile(folder.filePath(file)).text),
                      answer.value(QStringLiteral("steps")).toInt(), error.value(QStringLiteral("line")).toInt(),
                      error.value(QStringLiteral("column")).toInt(), error.value(QStringLiteral("message")).toString()});
    }
    return cases;
}

QString Describe(const TCodeEditor::TProblemMark& mark)
{
    return QStringLiteral("%1:%2 %3").arg(mark.line + 1).arg(mark.column + 1).arg(mark.message);
}

} // namespace

class TestCodeEditor : public QObject {
    Q_OBJECT
private slots:
    void breakpointsFollowEdits();
    void gutterClickToggles();
    void marksLeaveUndoAndModifiedAlone();
    void executionMarkScrollsIntoView();
    void highlighterFormats_data();
    void highlighterFormats();
    void largeTextColouredWhereShown();
    void tabStopsAreEightCharacters();
    void checkingMarksUnpairedBracket();
    void checkingMapsColumnsLikeErrorReport();
    void checkOfAnEditedTextIsDropped();
    void runErrorKeepsBoxAndMarksBracket();
    void statusPositionCountsLikeErrorReport();
    void fullCheckMatchesRunErrors();
    void fullCheckShowsProblemAtCaret();
    void bracketPartner_data();
    void bracketPartner();
    void bracketPairMarkedAndJumped();
    void goToLineReachesErrorLine();
    void separatorCharactersStayCharacters();
    void executionMarkInALongLineMarksTheLineOnly();
};

void TestCodeEditor::breakpointsFollowEdits()
{
    auto window = ShowMainWindow();
    TCodeEditor* editor = CodeEditor(*window);
    SetProgram(*window, QStringLiteral("$0001\n+01\n+02\n+03\n+04"));
    QSignalSpy changed(editor, &TCodeEditor::BreakpointsChanged);
    editor->SetBreakpoints({3, 1, 99});
    QCOMPARE(editor->Breakpoints(), (QList<int>{1, 3}));
    QCOMPARE(changed.count(), 1);

    // A line break at the start of a marked line pushes it down with its mark.
    PutCaret(editor, 1, 0);
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(editor->Breakpoints(), (QList<int>{2, 4}));
    QCOMPARE(changed.count(), 2);
    // Split in the middle: the mark stays with the line's start.
    PutCaret(editor, 2, 1);
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(editor->Breakpoints(), (QList<int>{2, 5}));
    // Typing within a line moves nothing and tells nothing.
    const int before = changed.count();
    QTest::keyClicks(editor, QStringLiteral("x"));
    QCOMPARE(changed.count(), before);

    // Deleting a whole marked line takes its mark along; later lines move up.
    QTextCursor cursor(editor->document()->findBlockByNumber(2));
    cursor.setPosition(editor->document()->findBlockByNumber(4).position(), QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
    QTest::keyClick(editor, Qt::Key_Delete);
    QCOMPARE(editor->toPlainText(), QStringLiteral("$0001\n\n+02\n+03\n+04"));
    QCOMPARE(editor->Breakpoints(), (QList<int>{3}));
    QCOMPARE(changed.count(), before + 1);

    // A new text has no breakpoints.
    SetProgram(*window, QStringLiteral("+01"));
    QVERIFY(editor->Breakpoints().isEmpty());
    QCOMPARE(changed.count(), before + 2);
}

void TestCodeEditor::gutterClickToggles()
{
    auto window = ShowMainWindow();
    TCodeEditor* editor = CodeEditor(*window);
    SetProgram(*window, QStringLiteral("$0001\n+01\n+02"));
    auto* gutter = Child<QWidget>(*editor, "pGutter");
    QVERIFY(gutter->width() > 0);
    QTextCursor third(editor->document()->findBlockByNumber(2));
    const QPoint spot(gutter->width() / 2, editor->cursorRect(third).center().y());

    QTest::mouseClick(gutter, Qt::LeftButton, {}, spot);
    QCOMPARE(editor->Breakpoints(), (QList<int>{2}));
    QTest::mouseClick(gutter, Qt::LeftButton, {}, spot);
    QVERIFY(editor->Breakpoints().isEmpty());
    // Below the last line nothing is toggled.
    QTest::mouseClick(gutter, Qt::LeftButton, {}, QPoint(spot.x(), gutter->height() - 2));
    QVERIFY(editor->Breakpoints().isEmpty());
    QVERIFY(!editor->document()->isModified());
}

void TestCodeEditor::marksLeaveUndoAndModifiedAlone()
{
    auto window = ShowMainWindow();
    TCodeEditor* editor = CodeEditor(*window);
    const QString text = QStringLiteral("$0001 +01\n[02: ~0002 ]");
    SetProgram(*window, text);
    editor->document()->setModified(false);
    QVERIFY(!editor->document()->isUndoAvailable());

    editor->ToggleBreakpoint(1);
    editor->SetExecutionMark(1, 5, 5);
    editor->SetErrorMark(0, 6);
    editor->SetProblemMark(1, 11);
    QCOMPARE(MarkedTexts(*editor), (QStringList{QStringLiteral("+"), QStringLiteral("~0002"),
                                                QStringLiteral("]")}));
    QCOMPARE(editor->toPlainText(), text);
    QVERIFY(!editor->document()->isModified());
    QVERIFY(!editor->document()->isUndoAvailable());

    // An edit ends the error marks; the next operator keeps its place in the text.
    PutCaret(editor, 0, 0);
    QTest::keyClicks(editor, QStringLiteral(" "));
    QVERIFY(editor->document()->isModified());
    QCOMPARE(MarkedTexts(*editor), QStringList{QStringLiteral("~0002")});
    editor->ClearExecutionMark();
    QVERIFY(editor->extraSelections().isEmpty());
    // Undo takes back the typing only.
    editor->undo();
    QCOMPARE(editor->toPlainText(), text);
    QVERIFY(!editor->document()->isUndoAvailable());
    QVERIFY(!editor->document()->isModified());
}

void TestCodeEditor::executionMarkScrollsIntoView()
{
    auto window = ShowMainWindow();
    TCodeEditor* editor = CodeEditor(*window);
    QString text;
    for (int i = 0; i < 400; ++i)
        text += QStringLiteral("+01\n");
    SetProgram(*window, text + QString(300, u' ') + QStringLiteral("$0001"));
    const int caret = editor->textCursor().position();

    editor->SetExecutionMark(400, 300, 5);
    QCOMPARE(MarkedTexts(*editor), QStringList{QStringLiteral("$0001")});
    QTextCursor mark(editor->document()->findBlockByNumber(400));
    mark.setPosition(mark.position() + 302);
    QVERIFY(editor->viewport()->rect().contains(editor->cursorRect(mark).center()));
    QCOMPARE(editor->textCursor().position(), caret);
    // A place past the text marks nothing.
    editor->SetExecutionMark(900, 0, 1);
    QVERIFY(MarkedTexts(*editor).isEmpty());
}

void TestCodeEditor::highlighterFormats_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("kind"); // a TSyntaxKind, or -1 for none

    const int op = int(TSyntaxKind::Operator);
    const int operand = int(TSyntaxKind::Operand);
    const int address = int(TSyntaxKind::Address);
    const int comment = int(TSyntaxKind::Comment);
    const int refused = int(TSyntaxKind::Refused);
    QTest::newRow("select") << QStringLiteral("$0001 +05") << 0 << op;
    QTest::newRow("selected address") << QStringLiteral("$0001 +05") << 4 << address;
    QTest::newRow("add") << QStringLiteral("$0001 +05") << 6 << op;
    QTest::newRow("added byte") << QStringLiteral("$0001 +05") << 8 << operand;
    QTest::newRow("address after @") << QStringLiteral("-@00 01") << 1 << address;
    QTest::newRow("address across a blank") << QStringLiteral("-@00 01") << 6 << address;
    QTest::newRow("copy target") << QStringLiteral("^00fF") << 4 << address;
    QTest::newRow("loop count") << QStringLiteral("[0C: +01 ]") << 2 << operand;
    QTest::newRow("loop colon") << QStringLiteral("[0C: +01 ]") << 3 << op;
    QTest::newRow("closing bracket") << QStringLiteral("[0C: +01 ]") << 9 << op;
    QTest::newRow("parity") << QStringLiteral("?? ( : )") << 1 << op;
    QTest::newRow("compared byte") << QStringLiteral("?7F ( )") << 2 << operand;
    QTest::newRow("stack") << QStringLiteral("{ }") << 2 << op;
    QTest::newRow("digit without operator") << QStringLiteral("+0101") << 3 << -1;
    QTest::newRow("blank") << QStringLiteral("+01 +01") << 3 << -1;
    QTest::newRow("comment mark") << QStringLiteral("+01 ' add!") << 4 << comment;
    QTest::newRow("inside comment") << QStringLiteral("+01 ' add!") << 9 << comment;
    QTest::newRow("refused sign") << QStringLiteral("+01 !") << 4 << refused;
    QTest::newRow("refused letter") << QStringLiteral("$000g") << 4 << refused;
    QTest::newRow("refused cyrillic") << QStringLiteral("+01 ж") << 4 << refused;
    QTest::newRow("vertical tab before comment") << QStringLiteral("+01\v' x") << 3 << refused;
    QTest::newRow("vertical tab trimmed") << QStringLiteral("\v+01") << 0 << -1;
}

void TestCodeEditor::highlighterFormats()
{
    QFETCH(QString, line);
    QFETCH(int, column);
    QFETCH(int, kind);
    auto window = ShowMainWindow();
    SetProgram(*window, QStringLiteral("+01\n") + line);
    const QTextCharFormat format = FormatAt(*Editor(*window), 1, column);
    if (kind < 0) {
        QCOMPARE(format, QTextCharFormat());
        return;
    }
    const QTextCharFormat expected = THighlighter::Format(TSyntaxKind(kind));
    QCOMPARE(format.foreground(), expected.foreground());
    QCOMPARE(format.background(), expected.background());
}

void TestCodeEditor::largeTextColouredWhereShown()
{
    auto window = ShowMainWindow();
    QString text;
    for (int i = 0; i < 20000; ++i)
        text += QStringLiteral("$0001 +01 ' padding\n");
    SetProgram(*window, text);
    const QTextCharFormat op = THighlighter::Format(TSyntaxKind::Operator);
    QTRY_COMPARE(FormatAt(*Editor(*window), 0, 0).foreground(), op.foreground());
    QTRY_COMPARE(FormatAt(*Editor(*window), 5, 6).foreground(), op.foreground());
    QVERIFY(!Editor(*window)->document()->isUndoAvailable());
    // A later edit of a line far below colours it at once.
    PutCaret(Editor(*window), 19000, 0);
    QTest::keyClicks(Editor(*window), QStringLiteral("*"));
    QCOMPARE(FormatAt(*Editor(*window), 19000, 0).foreground(), op.foreground());
    QCOMPARE(FormatAt(*Editor(*window), 19000, 8).foreground(),
             THighlighter::Format(TSyntaxKind::Operand).foreground());
}

void TestCodeEditor::tabStopsAreEightCharacters()
{
    auto window = ShowMainWindow();
    const QPlainTextEdit* editor = Editor(*window);
    QCOMPARE(editor->tabStopDistance(),
             QFontMetricsF(editor->font()).horizontalAdvance(QLatin1Char(' ')) * 8);
}

void TestCodeEditor::checkingMarksUnpairedBracket()
{
    auto window = ShowMainWindow();
    TCodeEditor* editor = CodeEditor(*window);
    SetProgram(*window, QStringLiteral("$0001 [02: +01\n+01 ]"));
    QTRY_COMPARE_WITH_TIMEOUT(Label(*window, "lStatusCheck"), QString(), kWait);

    PutCaret(editor, 1, 5);
    QTest::keyClicks(editor, QStringLiteral("]"));
    QTRY_COMPARE_WITH_TIMEOUT(
        Label(*window, "lStatusCheck"),
        QStringLiteral("Строка: 2, символ: 6. Неверное сочетание программных скобок."), kWait);
    QCOMPARE(MarkedTexts(*editor), QStringList{QStringLiteral("]")});
    QCOMPARE(FirstMarkStart(*editor), editor->document()->findBlockByNumber(1).position() + 5);

    // Mended, the mark and the message go.
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTRY_COMPARE_WITH_TIMEOUT(Label(*window, "lStatusCheck"), QString(), kWait);
    QVERIFY(editor->ProblemMarks().isEmpty());
    // Only the pair at the caret stays marked.
    QCOMPARE(MarkedTexts(*editor), (QStringList{QStringLiteral("]"), QStringLiteral("[")}));
}

void TestCodeEditor::checkingMapsColumnsLikeErrorReport()
{
    auto window = ShowMainWindow();
    TCodeEditor* editor = CodeEditor(*window);
    // Blanks and tabs before it, and a refused character in a comment that does not count.
    SetProgram(*window, QStringLiteral("' !\n\t $00 01\t!'x"));
    QTRY_COMPARE_WITH_TIMEOUT(Label(*window, "lStatusCheck"),
                              QStringLiteral("Строка: 2, символ: 10. Неизвестный символ."), kWait);
    QCOMPARE(MapErrorColumn(u"\t $00 01\t!'x", 6), 10);
    QCOMPARE(MarkedTexts(*editor), QStringList{QStringLiteral("!")});
}

void TestCodeEditor::checkOfAnEditedTextIsDropped()
{
    auto window = ShowMainWindow();
    auto* checker = window->findChild<TSourceChecker*>();
    QSignalSpy checked(checker, &TSourceChecker::Checked);
    // The check of this text is under way on the worker when the edit comes:
    // its problem would stand on a text that is gone, so it never shows.
    SetProgram(*window, QStringLiteral("$0001 ]"));
    checker->CheckNow();
    SetProgram(*window, QStringLiteral("$0001 +01"));
    QTRY_COMPARE_WITH_TIMEOUT(checked.size(), 1, kWait);
    QTest::qWait(100);
    QCOMPARE(checked.size(), 1);
    QCOMPARE(checked.at(0).at(0).toString(), QString());
    QVERIFY(CodeEditor(*window)->extraSelections().isEmpty());
}

void TestCodeEditor::runErrorKeepsBoxAndMarksBracket()
{
    auto window = ShowMainWindow();
    TCodeEditor* editor = CodeEditor(*window);
    SetProgram(*window, QStringLiteral("\n$0001 (\n+01"));
    QTRY_VERIFY_WITH_TIMEOUT(!Label(*window, "lStatusCheck").isEmpty(), kWait);
    TModalScript script;
    script.Answer(QMessageBox::Ok);
    Button(*window, "bBigRun")->click();
    QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);
    QCOMPARE(script.Seen().size(), 1u);
    QVERIFY(script.Seen()[0].text.contains(QStringLiteral("Строка: 1, символ: 0.")));
    // The run's error mark, besides the mark of checking while typing.
    QCOMPARE(MarkedTexts(*editor), (QStringList{QStringLiteral("("), QStringLiteral("(")}));
    QCOMPARE(FirstMarkStart(*editor), editor->document()->findBlockByNumber(1).position() + 6);
}

void TestCodeEditor::statusPositionCountsLikeErrorReport()
{
    auto window = ShowMainWindow();
    const QString line = QStringLiteral("\t $0001\t~0002");
    SetProgram(*window, QStringLiteral("+01\n") + line);
    PutCaret(Editor(*window), 1, 8);
    // The error report would name this "~", the sixth character of the run's line, so.
    const int reported = MapErrorColumn(line.toStdU16String(), 6);
    QCOMPARE(reported, 9);
    QCOMPARE(Label(*window, "lStatusPosition"),
             QStringLiteral("Строка: 2, символ: %1").arg(reported));
    PutCaret(Editor(*window), 0, 0);
    QCOMPARE(Label(*window, "lStatusPosition"), QStringLiteral("Строка: 1, символ: 1"));

    window->ShowRunState(QStringLiteral("Пауза"));
    window->ShowSteps(1234);
    QCOMPARE(Label(*window, "lStatusState"), QStringLiteral("Пауза"));
    QVERIFY(Label(*window, "lStatusSteps").contains(QStringLiteral("1234")));
}

void TestCodeEditor::separatorCharactersStayCharacters()
{
    auto window = ShowMainWindow();
    TCodeEditor* editor = CodeEditor(*window);
    const QString text = QStringLiteral("$0001 +41 ' a\u2028 end\n$0002 +42 ' \u2029");
    QSignalSpy checked(window->findChild<TSourceChecker*>(), &TSourceChecker::Checked);
    editor->SetProgramText(text);
    QCOMPARE(editor->blockCount(), 2);
    QCOMPARE(editor->ProgramText(), text);
    QCOMPARE(TCodeEditor::ProgramLines(editor->ProgramText()),
             (std::vector<std::u16string>{u"$0001 +41 ' a\u2028 end", u"$0002 +42 ' \u2029"}));
    // The check while typing finds nothing, as vesk-run does not.
    QTRY_VERIFY_WITH_TIMEOUT(!checked.isEmpty(), kWait);
    QCOMPARE(checked.last().at(0).toString(), QString());
    QVERIFY(!editor->document()->isUndoAvailable());

    // Typed right after one, a character is itself; copied and pasted, they stay.
    PutCaret(editor, 0, 14);
    QKeyEvent glyph(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("\u2424"));
    QApplication::sendEvent(editor, &glyph);
    QTest::keyClicks(editor, QStringLiteral("x"));
    editor->selectAll();
    editor->copy();
    editor->moveCursor(QTextCursor::End);
    editor->paste();
    const QString typed = QStringLiteral("$0001 +41 ' a\u2028\u2424x end\n$0002 +42 ' \u2029");
    QCOMPARE(editor->ProgramText(), typed + typed);

    // Shift+Enter breaks the line like Enter.
    QTest::keyClick(editor, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(editor, QStringLiteral("y"));
    QCOMPARE(editor->blockCount(), 4);
    QCOMPARE(editor->ProgramText(), typed + typed + QStringLiteral("\ny"));
}

void TestCodeEditor::executionMarkInALongLineMarksTheLineOnly()
{
    auto window = ShowMainWindow();
    TCodeEditor* editor = CodeEditor(*window);
    // Highlighted, such a line would be laid out and drawn whole at every step.
    SetProgram(*window, QStringLiteral("$0001+01\n$0002+01 ' ") + QString(60000, u'x'));
    editor->SetExecutionMark(1, 5, 3);
    QVERIFY(editor->extraSelections().isEmpty());
    QVERIFY(window->findChild<QLabel*>(QStringLiteral("lStatusMark"))->isVisibleTo(window.get()));
    QCOMPARE(Label(*window, "lStatusMark"), QStringLiteral("Длинная строка: отмечена только строка"));

    // A short line is highlighted again, and the note goes.
    editor->SetExecutionMark(0, 5, 3);
    QCOMPARE(MarkedTexts(*editor), QStringList{QStringLiteral("+01")});
    QVERIFY(!window->findChild<QLabel*>(QStringLiteral("lStatusMark"))->isVisibleTo(window.get()));
    editor->SetExecutionMark(1, 5, 3);
    QVERIFY(editor->extraSelections().isEmpty());
    editor->ClearExecutionMark();
    QVERIFY(!window->findChild<QLabel*>(QStringLiteral("lStatusMark"))->isVisibleTo(window.get()));
}

VESK_MAIN_WINDOW_TEST(TestCodeEditor)
#include "tst_codeeditor.moc"

void TestCodeEditor::fullCheckMatchesRunErrors()
{
    // The cells decide these: the text holds nothing a check may mark.
    const QStringList runDecides{"err_cond_at_missing", "err_cond_parity_no_cell", "err_copy_no_current",
                                 "err_destroy_current_then_bit", "err_destroy_missing", "err_memory_no_cell",
                                 "err_nested_condition_colon", "err_no_operand_cell", "err_unknown_exception"};
    auto window = ShowMainWindow();
    TCodeEditor* editor = CodeEditor(*window);
    auto* checker = window->findChild<TSourceChecker*>();
    const QList<TConformanceError> cases = ConformanceErrors();
    QVERIFY(cases.size() >= 25);
    for (const TConformanceError& error : cases) {
        SetProgram(*window, error.program);
        QSignalSpy checked(checker, &TSourceChecker::Checked);
        checker->CheckNow();
        QTRY_VERIFY_WITH_TIMEOUT(!checked.isEmpty(), kWait);
        QStringList found;
        for (const auto& mark : editor->ProblemMarks())
            found.append(Describe(mark));
        const QString run = QStringLiteral("%1:%2 %3").arg(error.line).arg(error.column).arg(error.message);
        if (runDecides.contains(error.name)) {
            QVERIFY2(found.isEmpty(), qPrintable(error.name + QStringLiteral(": ") + found.join(u'|')));
        } else if (error.steps == 0 && error.column == 0) {
            // Unpaired brackets: the run names no place, the check names the culprit.
            QVERIFY2(!found.isEmpty() && editor->ProblemMarks().front().message == error.message,
                     qPrintable(error.name));
        } else {
            QVERIFY2(found.contains(run), qPrintable(error.name + QStringLiteral(": ") + found.join(u'|')));
        }
    }
}

void TestCodeEditor::fullCheckShowsProblemAtCaret()
{
    auto window = ShowMainWindow();
    TCodeEditor* editor = CodeEditor(*window);
    // A trailing "+" and a digit where an operator belongs, on separate lines.
    SetProgram(*window, QStringLiteral("$0001 +\n+01 7"));
    QTRY_COMPARE_WITH_TIMEOUT(editor->ProblemMarks().size(), 2, kWait);
    QCOMPARE(Label(*window, "lStatusCheck"),
             QStringLiteral("Строка: 1, символ: 8. Невозможно распознать число ''."));
    QCOMPARE(MarkedTexts(*editor), (QStringList{QStringLiteral("+"), QStringLiteral("7")}));
    PutCaret(editor, 1, 4);
    QCOMPARE(Label(*window, "lStatusCheck"),
             QStringLiteral("Строка: 2, символ: 5. Использование числовых данных без операторов"));
    // Off every problem, the one a run meets first is shown again.
    PutCaret(editor, 1, 1);
    QCOMPARE(Label(*window, "lStatusCheck"),
             QStringLiteral("Строка: 1, символ: 8. Невозможно распознать число ''."));
    QVERIFY(editor->ProblemAt(0, 4) == nullptr);
}

void TestCodeEditor::bracketPartner_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("at");      // -1: no pair
    QTest::addColumn<int>("partner");
    QTest::newRow("loop, caret before opener") << "[02:+01]" << 0 << 0 << 7;
    QTest::newRow("loop, caret after closer") << "[02:+01]" << 8 << 7 << 0;
    QTest::newRow("block nested") << "?05(+01(+02):+03)" << 3 << 3 << 16;
    QTest::newRow("stack across lines") << "{\n$0001\n}" << 9 << 8 << 0;
    QTest::newRow("other kinds ignored") << "[(]" << 0 << 0 << 2;
    QTest::newRow("bracket in comment not counted") << "[ ' ]\n]" << 0 << 0 << 6;
    QTest::newRow("caret in comment") << "+01 ' ( )" << 6 << -1 << -1;
    QTest::newRow("no partner") << "((+01)" << 0 << -1 << -1;
}

void TestCodeEditor::bracketPartner()
{
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(int, at);
    QFETCH(int, partner);
    QTextDocument document(text);
    const auto pair = FindBracketPair(document, caret);
    QCOMPARE(pair ? pair->at : -1, at);
    QCOMPARE(pair ? pair->partner : -1, partner);
}

void TestCodeEditor::bracketPairMarkedAndJumped()
{
    auto window = ShowMainWindow();
    TCodeEditor* editor = CodeEditor(*window);
    SetProgram(*window, QStringLiteral("$0001\n[03:\n+01\n]"));
    PutCaret(editor, 1, 0);
    QCOMPARE(MarkedTexts(*editor), (QStringList{QStringLiteral("["), QStringLiteral("]")}));
    QTest::keyClick(editor, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(editor->textCursor().blockNumber(), 3);
    QCOMPARE(editor->textCursor().positionInBlock(), 0);
    // And back, the caret on the opener's side again.
    QTest::keyClick(editor, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(editor->textCursor().blockNumber(), 1);
    QCOMPARE(editor->textCursor().positionInBlock(), 0);
    PutCaret(editor, 2, 1);
    QVERIFY(MarkedTexts(*editor).isEmpty());
}

void TestCodeEditor::goToLineReachesErrorLine()
{
    auto window = ShowMainWindow();
    TCodeEditor* editor = CodeEditor(*window);
    const QStringList lines(90000, QStringLiteral("+01"));
    SetProgram(*window, lines.join(u'\n'));
    window->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), window.get());
    TModalScript script;
    int highest = 0;
    script.Then([&highest](QWidget* modal) {
        auto* dialog = qobject_cast<QInputDialog*>(modal);
        QVERIFY(dialog);
        highest = dialog->intMaximum();
        dialog->setIntValue(87654);
        dialog->accept();
    });
    QTest::keyClick(editor, Qt::Key_G, Qt::ControlModifier);
    QVERIFY(script.Done());
    QCOMPARE(highest, 90000);
    QCOMPARE(editor->textCursor().blockNumber(), 87653);
    QTRY_VERIFY(editor->hasFocus());
    // The line is on screen.
    const QRect caret = editor->cursorRect();
    QVERIFY(editor->viewport()->rect().contains(caret.center()));
}
