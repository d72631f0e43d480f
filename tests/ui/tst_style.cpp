// The run buttons' sizes: the specified ones where the font lets the notes fit,
// wider where a font needs more room, never a cut note. The tests choose their
// fonts themselves (one that tools/install-deps installs).
#include <QCommandLinkButton>
#include <QFontInfo>
#include <QtTest>

#include "ui/style.h"

namespace {

const QString kFamily = QStringLiteral("Liberation Sans");

} // namespace

class TestStyle : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void runButtonsShowWholeNotes_data();
    void runButtonsShowWholeNotes();
};

void TestStyle::initTestCase()
{
    QVERIFY2(QFontInfo(QFont(kFamily)).family() == kFamily,
             "the test font is missing: run tools/install-deps");
}

void TestStyle::runButtonsShowWholeNotes_data()
{
    QTest::addColumn<QString>("note");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("points");
    QTest::addColumn<bool>("widened");
    const QString pause = QStringLiteral("Временная остановка выполнения программы");
    const QString stop = QStringLiteral("Остановка выполнения и сброс состояния");
    const QString run = QStringLiteral("Запуск программы на выполнение");
    QTest::newRow("run, 8 pt") << run << 153 << 8 << false;
    QTest::newRow("pause, 8 pt") << pause << 178 << 8 << false;
    QTest::newRow("stop, 8 pt") << stop << 177 << 8 << false;
    // Larger letters stand for a font wider than the one the sizes were made for.
    QTest::newRow("pause, 10 pt") << pause << 178 << 10 << true;
    QTest::newRow("stop, 10 pt") << stop << 177 << 10 << true;
}

void TestStyle::runButtonsShowWholeNotes()
{
    QFETCH(QString, note);
    QFETCH(int, width);
    QFETCH(int, points);
    QFETCH(bool, widened);
    QFont font(kFamily);
    font.setPointSize(points);
    QCommandLinkButton button(QStringLiteral("Приостановить"), note);
    button.setFont(font);
    button.setIconSize(QSize(32, 32));
    button.setIcon(RunButtonIcon(TRunGlyph::Pause, false));
    const bool fitsAsSpecified = button.heightForWidth(width) <= 66;
    QCOMPARE(fitsAsSpecified, !widened);

    FitRunButton(&button, width, 66);
    QCOMPARE(button.height(), 66);
    QCOMPARE(button.width() == width, !widened);
    QVERIFY(button.width() >= width);
    QVERIFY(button.heightForWidth(button.width()) <= 66);
    // No wider than the note needs.
    if (widened)
        QVERIFY(button.heightForWidth(button.width() - 1) > 66);
}

QTEST_MAIN(TestStyle)
#include "tst_style.moc"
