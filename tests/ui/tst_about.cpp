// The About window and the version text read back from the built-in resource.
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "labelcheck.h"
#include "ui/app/about.h"
#include "ui/app/appversion.h"

class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void windowLayout();
    void labels();
    void setVersionAndSite();
    void okCloses();
    void centredOverParent();
    void versionText_data();
    void versionText();
    void builtInVersion();
};

void TestAbout::windowLayout()
{
    TfAbout about;
    QCOMPARE(about.windowTitle(), QStringLiteral("О проекте Vesk"));
    QCOMPARE(about.size(), QSize(378, 201));
    QCOMPARE(about.minimumSize(), QSize(378, 201));
    QCOMPARE(about.maximumSize(), QSize(378, 201));
    const Qt::WindowFlags flags = about.windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QCOMPARE(about.font().pointSize(), 8);

    const struct {
        const char* name;
        QRect geometry;
    } frames[] = {
        {"pDecoratePanel", {8, 8, 146, 146}},
        {"pLogoBackground", {16, 16, 130, 130}},
        {"Image1", {1, 1, 128, 128}},
    };
    for (const auto& expected : frames) {
        auto* widget = about.findChild<QWidget*>(QLatin1String(expected.name));
        QVERIFY2(widget, expected.name);
        QCOMPARE(widget->geometry(), expected.geometry);
    }
    auto* background = about.findChild<QWidget*>(QStringLiteral("pLogoBackground"));
    QCOMPARE(background->palette().color(QPalette::Window), QColor(75, 77, 77));
    auto* logo = about.findChild<QLabel*>(QStringLiteral("Image1"));
    QCOMPARE(logo->pixmap().size(), QSize(128, 128));

    auto* rule = about.findChild<QFrame*>(QStringLiteral("bBottomLine"));
    QCOMPARE(rule->frameShape(), QFrame::HLine);
    QCOMPARE(rule->pos(), QPoint(8, 160));
    QCOMPARE(rule->width(), 362);

    auto* ok = about.findChild<QPushButton*>(QStringLiteral("bOkButton"));
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(ok->geometry(), QRect(295, 168, 75, 25));
    QVERIFY(ok->isDefault());
}

void TestAbout::labels()
{
    TfAbout about;
    const struct {
        const char* name;
        QPoint pos;
    } placed[] = {
        {"lTitle", {168, 8}}, {"lVersion", {168, 30}}, {"lCopyright", {168, 66}}, {"lSite", {168, 85}},
    };
    for (const auto& expected : placed) {
        CheckPlacedLabel(about, expected.name, expected.pos);
        if (QTest::currentTestFailed())
            return;
    }
    auto* title = about.findChild<QLabel*>(QStringLiteral("lTitle"));
    QCOMPARE(title->text(), QStringLiteral("Среда разработки Vesk"));
    QCOMPARE(title->font().pointSize(), 10);
    QVERIFY(title->font().bold());
    QVERIFY(!about.findChild<QLabel*>(QStringLiteral("lCopyright"))->text().isEmpty());
}

void TestAbout::setVersionAndSite()
{
    TfAbout about;
    auto* version = about.findChild<QLabel*>(QStringLiteral("lVersion"));
    auto* site = about.findChild<QLabel*>(QStringLiteral("lSite"));
    about.SetVersion(QStringLiteral("0.1.0.475"));
    about.SetWebSite(QStringLiteral("https://example.org"));
    QCOMPARE(version->text(), QStringLiteral("Версия: 0.1.0.475"));
    QCOMPARE(site->text(), QStringLiteral("Подробнее: https://example.org"));
    // An unreadable version leaves the label with its prefix alone.
    about.SetVersion(QString());
    QCOMPARE(version->text(), QStringLiteral("Версия: "));
    QVERIFY(version->width() >= version->sizeHint().width());
}

void TestAbout::okCloses()
{
    TfAbout about;
    QTimer::singleShot(50, [&about] {
        QTest::keyClick(&about, Qt::Key_Return);
    });
    QCOMPARE(about.exec(), int(QDialog::Accepted));
}

void TestAbout::centredOverParent()
{
    QWidget owner;
    owner.setGeometry(100, 120, 800, 600);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    TfAbout about(&owner);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const QPoint offset = about.frameGeometry().center() - owner.frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 4, qPrintable(QString("%1,%2").arg(offset.x()).arg(offset.y())));
}

void TestAbout::versionText_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("text");
    QTest::newRow("project version") << QByteArray("vesk-file-version 00000001 000001DB\n")
                                     << "0.1.0.475";
    QTest::newRow("lower-case digits") << QByteArray("vesk-file-version 0002000a 0003ffff")
                                       << "2.10.3.65535";
    QTest::newRow("every part 65535") << QByteArray("vesk-file-version FFFFFFFF FFFFFFFF")
                                      << "65535.65535.65535.65535";
    QTest::newRow("high and low halves apart") << QByteArray("vesk-file-version 00010000 80000001")
                                               << "1.0.32768.1";
    QTest::newRow("empty") << QByteArray() << "";
    QTest::newRow("short: one word") << QByteArray("vesk-file-version 00000001") << "";
    QTest::newRow("short word") << QByteArray("vesk-file-version 00000001 1DB") << "";
    QTest::newRow("long word") << QByteArray("vesk-file-version 00000001 0000001DB") << "";
    QTest::newRow("not hexadecimal") << QByteArray("vesk-file-version 0000000G 000001DB") << "";
    QTest::newRow("signed word") << QByteArray("vesk-file-version -0000001 000001DB") << "";
    QTest::newRow("other tag") << QByteArray("file-version 00000001 000001DB") << "";
    QTest::newRow("extra field") << QByteArray("vesk-file-version 00000001 000001DB 0") << "";
    QTest::newRow("binary garbage") << QByteArray("\x00\xff\x13\x37", 4) << "";
}

void TestAbout::versionText()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, text);
    QCOMPARE(VersionTextFromResource(data), text);
}

void TestAbout::builtInVersion()
{
    // This test carries the same generated resource as the IDE.
    QCOMPARE(GetAppVersion(), QStringLiteral(VESK_EXPECTED_VERSION));
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
