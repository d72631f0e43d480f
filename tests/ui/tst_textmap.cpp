// The lines of a run's text against the edited text: which lines stay the
// same lines (and where they went), and which have no counterpart.
#include <QStringList>
#include <QTest>

#include "ui/debugger/textmap.h"

namespace {

TLineMap Between(const QStringList& running, const QStringList& edited)
{
    return TLineMap::Compare(std::int32_t(running.size()), std::int32_t(edited.size()),
                             [&](std::int32_t i, std::int32_t j) { return running[i] == edited[j]; });
}

// "running line>edited line" for every running line and the end, "-" where
// it has none; then the same backwards.
QString Trace(const TLineMap& map, qsizetype runningLines, qsizetype editedLines)
{
    const auto show = [](std::optional<std::int32_t> line) {
        return line ? QString::number(*line) : QStringLiteral("-");
    };
    QStringList forward;
    for (std::int32_t line = 0; line <= runningLines; ++line)
        forward << show(map.ToEdited(line));
    QStringList back;
    for (std::int32_t line = 0; line <= editedLines; ++line)
        back << show(map.ToRunning(line));
    return forward.join(QLatin1Char(' ')) + QStringLiteral(" | ") + back.join(QLatin1Char(' '));
}

} // namespace

class TestTextMap : public QObject {
    Q_OBJECT
private slots:
    void linesFollowTheEdit_data();
    void linesFollowTheEdit();
};

void TestTextMap::linesFollowTheEdit_data()
{
    QTest::addColumn<QStringList>("running");
    QTest::addColumn<QStringList>("edited");
    QTest::addColumn<QString>("trace");
    QTest::addColumn<bool>("alike");
    const QStringList abc{"a", "b", "c"};
    QTest::newRow("unedited") << abc << abc << "0 1 2 3 | 0 1 2 3" << true;
    QTest::newRow("line added at the top") << abc << QStringList{"", "a", "b", "c"}
                                           << "1 2 3 4 | - 0 1 2 3" << false;
    QTest::newRow("line deleted") << abc << QStringList{"a", "c"} << "0 - 1 2 | 0 2 3" << false;
    QTest::newRow("line changed") << abc << QStringList{"a", "bX", "c"} << "0 - 2 3 | 0 - 2 3"
                                  << false;
    QTest::newRow("line split in two") << abc << QStringList{"a", "b1", "b2", "c"}
                                       << "0 - 3 4 | 0 - - 2 3" << false;
    // Of equal lines, the first ones count as kept.
    QTest::newRow("repeated lines") << QStringList{"x", "x"} << QStringList{"x", "x", "x"}
                                    << "0 1 3 | 0 1 - 2" << false;
    QTest::newRow("all replaced") << abc << QStringList{"d", "e"} << "- - - 2 | - - 3" << false;
}

void TestTextMap::linesFollowTheEdit()
{
    QFETCH(QStringList, running);
    QFETCH(QStringList, edited);
    QFETCH(QString, trace);
    QFETCH(bool, alike);
    const TLineMap map = Between(running, edited);
    QCOMPARE(Trace(map, running.size(), edited.size()), trace);
    QCOMPARE(map.Alike(), alike);
}

QTEST_MAIN(TestTextMap)
#include "tst_textmap.moc"
