// The find dialog: what it asks and that it keeps it.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "ui/mainwindow/finddialog.h"

namespace {

QLineEdit* Text(TFindDialog& dialog)
{
    return dialog.findChild<QLineEdit*>(QStringLiteral("eFindText"));
}
QCheckBox* Case(TFindDialog& dialog)
{
    return dialog.findChild<QCheckBox*>(QStringLiteral("cbMatchCase"));
}
QPushButton* Next(TFindDialog& dialog)
{
    return dialog.findChild<QPushButton*>(QStringLiteral("bFindNext"));
}

// A shown dialog and the Find signals it sends.
struct TShownDialog {
    TFindDialog dialog;
    QSignalSpy finds{&dialog, &TFindDialog::Find};

    TShownDialog() { dialog.ShowOrRaise(); }
    [[nodiscard]] bool Exposed() { return QTest::qWaitForWindowExposed(&dialog); }
};

} // namespace

class TestFindDialog : public QObject {
    Q_OBJECT
private slots:
    void initialState();
    void findNextEmitsFind();
    void emptyTextCannotFind();
    void keepsStateBetweenOpenings();
    void textLimitedTo255();
};

void TestFindDialog::initialState()
{
    TFindDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Поиск"));
    QVERIFY(!dialog.isModal());
    QVERIFY(Text(dialog)->text().isEmpty());
    QCOMPARE(Case(dialog)->text(), QStringLiteral("С учётом регистра"));
    QVERIFY(!Case(dialog)->isChecked());
    QCOMPARE(Next(dialog)->text(), QStringLiteral("Найти далее"));
    QVERIFY(!Next(dialog)->isEnabled());
    QVERIFY(!dialog.MatchCase());
}

void TestFindDialog::findNextEmitsFind()
{
    TShownDialog shown;
    TFindDialog& dialog = shown.dialog;
    QVERIFY(shown.Exposed());
    QTest::keyClicks(Text(dialog), QStringLiteral("Cell"));
    QVERIFY(Next(dialog)->isEnabled());
    // Enter in the text box is Find Next, and the dialog stays open.
    QTest::keyClick(Text(dialog), Qt::Key_Return);
    QCOMPARE(shown.finds.count(), 1);
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.MatchCase());
    QTest::mouseClick(Case(dialog), Qt::LeftButton);
    QTest::mouseClick(Next(dialog), Qt::LeftButton);
    QCOMPARE(shown.finds.count(), 2);
    QCOMPARE(dialog.FindText(), QStringLiteral("Cell"));
    QVERIFY(dialog.MatchCase());
    QVERIFY(dialog.isVisible());
}

void TestFindDialog::emptyTextCannotFind()
{
    TShownDialog shown;
    TFindDialog& dialog = shown.dialog;
    QVERIFY(shown.Exposed());
    QTest::keyClicks(Text(dialog), QStringLiteral("ab"));
    QTest::keyClick(Text(dialog), Qt::Key_Backspace);
    QTest::keyClick(Text(dialog), Qt::Key_Backspace);
    QVERIFY(!Next(dialog)->isEnabled());
    QTest::keyClick(Text(dialog), Qt::Key_Return);
    QTest::mouseClick(Next(dialog), Qt::LeftButton);
    QCOMPARE(shown.finds.count(), 0);
}

void TestFindDialog::keepsStateBetweenOpenings()
{
    TShownDialog shown;
    TFindDialog& dialog = shown.dialog;
    QVERIFY(shown.Exposed());
    QTest::keyClicks(Text(dialog), QStringLiteral("+0A"));
    QTest::mouseClick(Case(dialog), Qt::LeftButton);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QTRY_VERIFY(!dialog.isVisible());

    dialog.ShowOrRaise();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.FindText(), QStringLiteral("+0A"));
    QVERIFY(dialog.MatchCase());
    QVERIFY(Next(dialog)->isEnabled());

    dialog.findChild<QPushButton*>(QStringLiteral("bCloseButton"))->click();
    QVERIFY(!dialog.isVisible());
    dialog.ShowOrRaise();
    QCOMPARE(dialog.FindText(), QStringLiteral("+0A"));
}

void TestFindDialog::textLimitedTo255()
{
    TFindDialog dialog;
    QCOMPARE(Text(dialog)->maxLength(), 255);
    Text(dialog)->setText(QString(300, u'ж'));
    QCOMPARE(dialog.FindText(), QString(255, u'ж'));
}

QTEST_MAIN(TestFindDialog)
#include "tst_finddialog.moc"
