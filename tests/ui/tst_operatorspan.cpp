// Where the next operator stands in the editor's line: its operand length and
// the column mapping over blanks, tabs and comments.
#include <QTest>

#include "formats/errorreport.h"
#include "ui/editor/operatorspan.h"

class TestOperatorSpan : public QObject {
    Q_OBJECT
private slots:
    void span_data();
    void span();
};

void TestOperatorSpan::span_data()
{
    QTest::addColumn<QString>("prepared");
    QTest::addColumn<QString>("editor");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::newRow("select") << "$0001+01" << "$0001 +01" << 1 << 0 << 5;
    QTest::newRow("add after blank") << "$0001+01" << "$0001 +01" << 6 << 6 << 3;
    QTest::newRow("blanks inside operand") << "+@0001" << "\t+@ 00 01" << 1 << 1 << 8;
    QTest::newRow("copy") << "^00FF*" << "^00FF *" << 1 << 0 << 5;
    QTest::newRow("destroy") << "~00FF" << "~00FF" << 1 << 0 << 5;
    QTest::newRow("parity") << "??(" << "?? (" << 1 << 0 << 2;
    QTest::newRow("compare cell") << "?@0002(" << "?@0002 (" << 1 << 0 << 6;
    QTest::newRow("compare byte") << "?05(" << "?05(" << 1 << 0 << 3;
    QTest::newRow("counted head") << "[03:+01]" << "[03: +01 ]" << 1 << 0 << 4;
    QTest::newRow("endless head") << "[+01]" << "[ +01 ]" << 1 << 0 << 1;
    QTest::newRow("loop end") << "[+01]" << "[ +01 ]" << 5 << 6 << 1;
    QTest::newRow("operand cut by line end") << "$01+1" << "$01 +1" << 4 << 4 << 2;
    QTest::newRow("line advance, comment") << "+01" << "+01 ' c" << 4 << 7 << 0;
    QTest::newRow("line advance, empty") << "" << "" << 1 << 0 << 0;
    QTest::newRow("line edited shorter") << "$0001" << "$0" << 1 << 0 << 2;
}

void TestOperatorSpan::span()
{
    QFETCH(QString, prepared);
    QFETCH(QString, editor);
    QFETCH(int, column);
    QFETCH(int, start);
    QFETCH(int, length);
    const TOperatorSpan span = EditorSpan(prepared.toStdU16String(), editor.toStdU16String(), column);
    QCOMPARE(span.column, start);
    QCOMPARE(span.length, length);
    // The map built once for a line agrees with the mapping done column by column.
    const TColumnMap map(editor.toStdU16String());
    for (int c = -1; c <= editor.size() + 2; ++c)
        QCOMPARE(map.Map(c), MapErrorColumn(editor.toStdU16String(), c));
}

QTEST_APPLESS_MAIN(TestOperatorSpan)
#include "tst_operatorspan.moc"
