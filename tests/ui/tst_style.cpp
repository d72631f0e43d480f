// The run buttons' sizes: the specified ones where the font lets the notes fit,
// wider where a font needs more room, never a cut note. The tests choose their
// fonts themselves (one that tools/install-deps installs). And the colours:
// readable under a light and under a dark palette.
#include <QCommandLinkButton>
#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>

#include "ui/app/style.h"

namespace {

const QString kFamily = QStringLiteral("Liberation Sans");

// The contrast ratio of two colours, 1 (none) to 21 (black on white), as the
// usual accessibility guidelines measure it.
double Contrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double la = luminance(a) + 0.05;
    const double lb = luminance(b) + 0.05;
    return std::max(la, lb) / std::min(la, lb);
}

QPalette DarkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(53, 53, 53));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    return dark;
}

QPalette LightPalette()
{
    QPalette light;
    light.setColor(QPalette::Window, QColor(239, 239, 239));
    light.setColor(QPalette::WindowText, Qt::black);
    light.setColor(QPalette::Base, Qt::white);
    light.setColor(QPalette::Text, Qt::black);
    return light;
}

} // namespace

class TestStyle : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void runButtonsShowWholeNotes_data();
    void runButtonsShowWholeNotes();
    void coloursReadable_data();
    void coloursReadable();
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

void TestStyle::coloursReadable_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::addColumn<bool>("dark");
    QTest::newRow("light") << LightPalette() << false;
    QTest::newRow("dark") << DarkPalette() << true;
}

void TestStyle::coloursReadable()
{
    QFETCH(QPalette, palette);
    QFETCH(bool, dark);
    QCOMPARE(IsDarkPalette(palette), dark);

    // The text areas: the program's own black on 246 when light, the palette's when dark.
    QPlainTextEdit area;
    area.setPalette(palette);
    ApplyTextAreaColours(&area);
    const QColor base = area.palette().color(QPalette::Base);
    const QColor text = area.palette().color(QPalette::Text);
    QCOMPARE(base, dark ? palette.color(QPalette::Base) : QColor(246, 246, 246));
    QVERIFY(Contrast(base, text) >= 7);

    // Labels: RGB 73 when light, never grey on near-black when dark.
    const QColor label = LabelTextColor(palette);
    if (!dark)
        QCOMPARE(label, QColor(73, 73, 73));
    QVERIFY(Contrast(label, palette.color(QPalette::Window)) >= 4.5);

    const TMarkColours& c = MarkColours(palette);
    const struct {
        const char* what;
        QColor fore;
        QColor back;
        double least;
    } pairs[] = {
        {"operator", c.operatorText, base, 4.5},
        {"operand", c.operand, base, 3},
        {"address", c.address, base, 3},
        {"comment", c.comment, base, 3},
        {"refused", c.refusedText, c.refusedBack, 3},
        {"text on the next operator", text, c.executionText, 3},
        {"text on its line", text, c.executionLine, 4.5},
        {"text on the error", text, c.errorText, 3},
        {"text on its line", text, c.errorLine, 4.5},
        {"problem underline", c.problemUnderline, base, 3},
        {"breakpoint", c.breakpoint, c.gutterBack, 3},
        {"line numbers", c.gutterText, c.gutterBack, 3},
        {"changed cell", c.markedText, c.changedBack, 4.5},
        {"current cell", c.markedText, c.currentBack, 4.5},
    };
    for (const auto& pair : pairs)
        QVERIFY2(Contrast(pair.fore, pair.back) >= pair.least, pair.what);
}

QTEST_MAIN(TestStyle)
#include "tst_style.moc"
