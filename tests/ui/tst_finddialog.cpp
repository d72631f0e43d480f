// The find dialog: what it asks and that it keeps it.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "ui/finddialog.h"

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

} // namespace

class TestFindDialog : public QObject {
    Q_OBJECT
private slots:
    void initialState();
    void findNextEmitsFind();
    void emptyTextCannotFind();
    void enterFindsAndStaysOpen();
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
    TFindDialog dialog;
    dialog.ShowOrRaise();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy spy(&dialog, &TFindDialog::Find);
    QTest::keyClicks(Text(dialog), QStringLiteral("Cell"));
    QVERIFY(Next(dialog)->isEnabled());
    QTest::mouseClick(Case(dialog), Qt::LeftButton);
    QTest::mouseClick(Next(dialog), Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(dialog.FindText(), QStringLiteral("Cell"));
    QVERIFY(dialog.MatchCase());
    QTest::mouseClick(Next(dialog), Qt::LeftButton);
    QCOMPARE(spy.count(), 2);
    QVERIFY(dialog.isVisible());
}

void TestFindDialog::emptyTextCannotFind()
{
    TFindDialog dialog;
    dialog.ShowOrRaise();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy spy(&dialog, &TFindDialog::Find);
    QTest::keyClicks(Text(dialog), QStringLiteral("ab"));
    QTest::keyClick(Text(dialog), Qt::Key_Backspace);
    QTest::keyClick(Text(dialog), Qt::Key_Backspace);
    QVERIFY(!Next(dialog)->isEnabled());
    QTest::keyClick(Text(dialog), Qt::Key_Return);
    QTest::mouseClick(Next(dialog), Qt::LeftButton);
    QCOMPARE(spy.count(), 0);
}

void TestFindDialog::enterFindsAndStaysOpen()
{
    TFindDialog dialog;
    dialog.ShowOrRaise();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy spy(&dialog, &TFindDialog::Find);
    QTest::keyClicks(Text(dialog), QStringLiteral("$0001"));
    QTest::keyClick(Text(dialog), Qt::Key_Return);
    QCOMPARE(spy.count(), 1);
    QVERIFY(dialog.isVisible());
}

void TestFindDialog::keepsStateBetweenOpenings()
{
    TFindDialog dialog;
    dialog.ShowOrRaise();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
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
