// The main window's text search, driven through the real find dialog.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "mainfixture.h"
#include "modalhelper.h"
#include "ui/mainwindow/finddialog.h"

namespace {

const QString kQuestion = QStringLiteral("Достигнут конец текста. Продолжить поиск с начала?");

QString NotFound(const QString& text)
{
    return QStringLiteral("Поиск завершен. Текст \"") + text + QStringLiteral("\" не найден.");
}

struct TSearch {
    std::unique_ptr<TfMain> window = ShowMainWindow();
    TFindDialog* dialog = nullptr;

    TSearch(const QString& text, int caret)
    {
        SetProgram(*window, text);
        QTextCursor cursor = Editor(*window)->textCursor();
        cursor.setPosition(caret);
        Editor(*window)->setTextCursor(cursor);
        QTest::keyClick(Editor(*window), Qt::Key_F, Qt::ControlModifier);
        dialog = window->findChild<TFindDialog*>();
    }

    void Seek(const QString& text, bool matchCase = false)
    {
        Child<QLineEdit>(*dialog, "eFindText")->setText(text);
        Child<QCheckBox>(*dialog, "cbMatchCase")->setChecked(matchCase);
    }

    void FindNext() { Child<QPushButton>(*dialog, "bFindNext")->click(); }

    // "start+length" of the editor's selection.
    [[nodiscard]] QString Selection() const
    {
        const QTextCursor cursor = Editor(*window)->textCursor();
        return QStringLiteral("%1+%2").arg(cursor.selectionStart()).arg(
            cursor.selectionEnd() - cursor.selectionStart());
    }
};

} // namespace

class TestMainSearch : public QObject {
    Q_OBJECT
private slots:
    void walk_data();
    void walk();
    void endQuestionYesStartsOver_data();
    void endQuestionYesStartsOver();
    void endQuestionNoTellsNotFoundAndAsksAgain();
    void absentTextLeavesSelection();
    void reopeningFindsSelectedOccurrenceAgain();
    void findNextAndPreviousByKeys();
};

void TestMainSearch::walk_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("sought");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QStringList>("selections");

    QTest::newRow("overlapping") << "aaaa" << "aa" << false << QStringList{"0+2", "1+2", "2+2"};
    QTest::newRow("Latin case folded") << "Ab ab AB" << "ab" << false
                                       << QStringList{"0+2", "3+2", "6+2"};
    QTest::newRow("Latin case kept") << "Ab ab AB" << "AB" << true << QStringList{"6+2"};
    QTest::newRow("Cyrillic case folded")
        << QStringLiteral("Привет привет ПРИВЕТ") << QStringLiteral("пРиВеТ") << false
        << QStringList{"0+6", "7+6", "14+6"};
    QTest::newRow("Cyrillic case kept")
        << QStringLiteral("Привет привет ПРИВЕТ") << QStringLiteral("привет") << true
        << QStringList{"7+6"};
    // A line break is one position in the editor.
    QTest::newRow("across lines") << "x\n$0001\n$0001" << "$0001" << false
                                  << QStringList{"2+5", "8+5"};
}

void TestMainSearch::walk()
{
    QFETCH(QString, text);
    QFETCH(QString, sought);
    QFETCH(bool, matchCase);
    QFETCH(QStringList, selections);
    TSearch search(text, 0);
    TModalScript script;
    search.Seek(sought, matchCase);
    for (const QString& expected : selections) {
        // Find Next is pressed in the active dialog; the hit hands the keys to the editor.
        search.dialog->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), search.dialog);
        search.FindNext();
        QCOMPARE(search.Selection(), expected);
        QTRY_COMPARE(QApplication::activeWindow(), search.window.get());
        QVERIFY(Editor(*search.window)->hasFocus());
        QVERIFY(search.dialog->isVisible());
    }
    QVERIFY(script.Seen().empty());
}

void TestMainSearch::endQuestionYesStartsOver_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("sought");
    QTest::addColumn<int>("finds");           // Find Next presses before the question
    QTest::addColumn<QString>("lastFound");
    QTest::addColumn<QString>("edited");      // the editor's new text then; empty: left alone
    QTest::addColumn<QString>("duringQuestion");
    QTest::addColumn<QString>("afterYes");
    QTest::addColumn<QString>("nextFind");    // one more Find Next; empty: none

    // The caret stands at the start of the last occurrence, nothing selected.
    QTest::newRow("after the last of two")
        << "ab ab" << "ab" << 2 << "3+2" << "" << "3+0" << "0+2" << "3+2";
    // Found at offset 0, none after: the question still comes, and Yes finds it again.
    QTest::newRow("hit at start, none after")
        << "ab" << "a" << 1 << "0+1" << "" << "0+0" << "0+1" << "";
    // The search position lies beyond the end of the shortened text.
    QTest::newRow("text shortened")
        << "abc abc abc" << "abc" << 3 << "8+3" << "abc" << "3+0" << "0+3" << "";
}

void TestMainSearch::endQuestionYesStartsOver()
{
    QFETCH(QString, text);
    QFETCH(QString, sought);
    QFETCH(int, finds);
    QFETCH(QString, lastFound);
    QFETCH(QString, edited);
    QFETCH(QString, duringQuestion);
    QFETCH(QString, afterYes);
    QFETCH(QString, nextFind);
    TSearch search(text, 0);
    TModalScript script;
    search.Seek(sought);
    for (int i = 0; i < finds; ++i)
        search.FindNext();
    QCOMPARE(search.Selection(), lastFound);
    if (!edited.isEmpty())
        Editor(*search.window)->setPlainText(edited);

    QString selectionDuringQuestion;
    script.Then([&](QWidget* modal) {
        selectionDuringQuestion = search.Selection();
        qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Yes)->click();
    });
    search.FindNext();
    QVERIFY(script.Done());
    QCOMPARE(script.Seen().size(), 1u);
    QCOMPARE(script.Seen().at(0).text, kQuestion);
    QCOMPARE(script.Seen().at(0).title, QStringLiteral("Поиск"));
    QCOMPARE(script.Seen().at(0).icon, QMessageBox::Question);
    QCOMPARE(selectionDuringQuestion, duringQuestion);
    QCOMPARE(search.Selection(), afterYes);
    if (!nextFind.isEmpty()) {
        search.FindNext();
        QCOMPARE(search.Selection(), nextFind);
    }
}

void TestMainSearch::endQuestionNoTellsNotFoundAndAsksAgain()
{
    TSearch search(QStringLiteral("ab ab"), 1);
    TModalScript script;
    search.Seek(QStringLiteral("AB"));
    search.FindNext();
    QCOMPARE(search.Selection(), QStringLiteral("3+2"));
    script.Answer(QMessageBox::No);
    script.Answer(QMessageBox::Ok);
    search.FindNext();
    QVERIFY(script.Done());
    QCOMPARE(script.Seen().at(1).text, NotFound(QStringLiteral("AB")));
    QCOMPARE(script.Seen().at(1).title, QStringLiteral("Поиск"));
    QCOMPARE(script.Seen().at(1).icon, QMessageBox::Information);

    script.Answer(QMessageBox::Yes);
    search.FindNext();
    QVERIFY(script.Done());
    QCOMPARE(script.Seen().at(2).text, kQuestion);
    QCOMPARE(search.Selection(), QStringLiteral("0+2"));
}

void TestMainSearch::absentTextLeavesSelection()
{
    TSearch search(QStringLiteral("$0001+01"), 0);
    TModalScript script;
    QTextCursor cursor = Editor(*search.window)->textCursor();
    cursor.setPosition(1);
    cursor.setPosition(5, QTextCursor::KeepAnchor);
    Editor(*search.window)->setTextCursor(cursor);
    search.Seek(QStringLiteral("Zz"));
    script.Answer(QMessageBox::Ok);
    search.FindNext();
    QVERIFY(script.Done());
    QCOMPARE(script.Seen().size(), 1u);
    QCOMPARE(script.Seen().at(0).text, NotFound(QStringLiteral("Zz")));
    QCOMPARE(search.Selection(), QStringLiteral("1+4"));
}

void TestMainSearch::reopeningFindsSelectedOccurrenceAgain()
{
    TSearch search(QStringLiteral("xx yy xx"), 0);
    TModalScript script;
    search.Seek(QStringLiteral("xx"));
    search.FindNext();
    search.FindNext();
    QCOMPARE(search.Selection(), QStringLiteral("6+2"));
    QTest::keyClick(Editor(*search.window), Qt::Key_F, Qt::ControlModifier);
    search.FindNext();
    QCOMPARE(search.Selection(), QStringLiteral("6+2"));
    QVERIFY(script.Seen().empty());
}

VESK_MAIN_WINDOW_TEST(TestMainSearch)
#include "tst_main_search.moc"

void TestMainSearch::findNextAndPreviousByKeys()
{
    {
        // Nothing sought yet: F3 asks what to find.
        auto window = ShowMainWindow();
        QTest::keyClick(Editor(*window), Qt::Key_F3);
        QTRY_VERIFY(window->findChild<TFindDialog*>()->isVisible());
    }
    TSearch search(QStringLiteral("Ab ab AB"), 0);
    TModalScript script;
    search.Seek(QStringLiteral("ab"));
    search.FindNext();
    QCOMPARE(search.Selection(), QStringLiteral("0+2"));
    QPlainTextEdit* editor = Editor(*search.window);
    const auto press = [editor](Qt::KeyboardModifiers modifiers) { QTest::keyClick(editor, Qt::Key_F3, modifiers); };
    press(Qt::NoModifier);
    QCOMPARE(search.Selection(), QStringLiteral("3+2"));
    press(Qt::NoModifier);
    QCOMPARE(search.Selection(), QStringLiteral("6+2"));
    press(Qt::ShiftModifier);
    QCOMPARE(search.Selection(), QStringLiteral("3+2"));
    press(Qt::ShiftModifier);
    QCOMPARE(search.Selection(), QStringLiteral("0+2"));
    // Past the start, the question; Yes goes on from the end.
    script.Answer(QMessageBox::Yes);
    press(Qt::ShiftModifier);
    QVERIFY(script.Done());
    QCOMPARE(script.Seen().at(0).text, QStringLiteral("Достигнуто начало текста. Продолжить поиск с конца?"));
    QCOMPARE(search.Selection(), QStringLiteral("6+2"));
    // A caret moved by hand is where F3 goes on from.
    QTextCursor caret = editor->textCursor();
    caret.setPosition(1);
    editor->setTextCursor(caret);
    press(Qt::NoModifier);
    QCOMPARE(search.Selection(), QStringLiteral("3+2"));
    QCOMPARE(script.Seen().size(), 1u);
}
