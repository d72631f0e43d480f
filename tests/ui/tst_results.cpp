// The results window: its rows and labels, the header-click sort and saving.
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>
#include <algorithm>
#include <clocale>
#include <random>
#include <stdexcept>

#include "formats/results.h"
#include "labelcheck.h"
#include "ui/results/results.h"

namespace {

struct TCell {
    const char16_t* name;
    std::uint8_t value;
};

// Cell order as a run would leave them.
const TCell kCells[] = {
    {u"0010", 7}, {u"000B", 200}, {u"0001", 255}, {u"00A0", 0}, {u"000C", 9},
};

void Fill(TfResults& window)
{
    for (const TCell& cell : kCells)
        window.AddRow(MakeResultRow(cell.name, cell.value));
}

QStringList Addresses(const TfResults& window)
{
    QStringList addresses;
    for (const TResultRow& row : window.Rows())
        addresses << QString::fromStdU16String(row.address);
    return addresses;
}

template <class T>
T* Child(const QObject& parent, const char* name)
{
    return parent.findChild<T*>(QString::fromLatin1(name));
}

QTreeView* List(TfResults& window) { return Child<QTreeView>(window, "lVariablesList"); }

// The text the list shows in a cell.
QString Cell(TfResults& window, int row, int column)
{
    const QAbstractItemModel* model = List(window)->model();
    return model->data(model->index(row, column)).toString();
}

void ClickHeader(TfResults& window, int column)
{
    QHeaderView* header = List(window)->header();
    const QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Answers the next save dialog with path (pressing Enter in its name box),
// confirms an overwrite question if one follows, and records the name that
// the dialog proposed.
class TSaveDialogAnswer {
public:
    explicit TSaveDialogAnswer(QString path) : _path(std::move(path))
    {
        QTimer::singleShot(50, [this] { Answer(); });
    }
    [[nodiscard]] QString Proposed() const { return _proposed; }
    [[nodiscard]] bool Answered() const { return _answered; }
    [[nodiscard]] bool OverwriteAsked() const { return _overwriteAsked; }

private:
    void Answer()
    {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            QTimer::singleShot(50, [this] { Answer(); });
            return;
        }
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        _proposed = name->text();
        name->setText(_path);
        QTimer::singleShot(50, [this] { ConfirmOverwrite(); });
        QTest::keyClick(name, Qt::Key_Return);
        _answered = true;
    }
    void ConfirmOverwrite()
    {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            _overwriteAsked = true;
            box->button(QMessageBox::Yes)->click();
        }
    }

    QString _path;
    QString _proposed;
    bool _answered = false;
    bool _overwriteAsked = false;
};

} // namespace

class TestResults : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void windowLayout();
    void rowsShowTheCells();
    void nulCharacterShowsEmpty();
    void largeStepCountShownWhole();
    void columnsKeepMinimumWidth();
    void listFollowsTheEdges();
    void compareTexts_data();
    void compareTexts();
    void addressesSortAsTheLocalesDo();
    void packedAndGeneralSortsAgree_data();
    void packedAndGeneralSortsAgree();
    void headerClicks_data();
    void headerClicks();
    void newWindowResetsSortState();
    void saveAfterSortWritesShownOrder();
    void secondSaveProposesLastName();
    void cancelledSaveWritesNothing();
    void enterPressesFocusedButton();
    void saveOntoDirectoryThrows();
    void saveReplacesOldFileWhole();
};

void TestResults::windowLayout()
{
    TfResults window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Результаты выполнения"));
    QCOMPARE(window.size(), QSize(461, 406));

    const struct {
        const char* name;
        const char* text;
        QPoint pos;
    } labels[] = {
        {"lSuccesLabel", "Выполнение программы успешно завершено.", {8, 8}},
        {"sLabel1", "Время выполнения:", {8, 27}},
        {"lTime", "", {113, 27}},
        {"sLabel2", "Выполнено операторов:", {8, 46}},
        {"lStepsCount", "", {137, 46}},
        {"lVariablesLabel", "Текущие значения использованных переменных:", {8, 69}},
    };
    for (const auto& expected : labels) {
        CheckPlacedLabel(window, expected.name, expected.pos);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(Child<QLabel>(window, expected.name)->text(), QString::fromUtf8(expected.text));
    }

    QTreeView* list = List(window);
    QCOMPARE(list->geometry(), QRect(8, 88, 445, 279));
    QCOMPARE(list->model()->columnCount(), 4);
    const QStringList headers = {"Адрес", "Значение (двоичное)", "Значение (16-е)", "Символ"};
    const int widths[] = {90, 150, 110, 50};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(list->model()->headerData(i, Qt::Horizontal).toString(), headers[i]);
        QCOMPARE(list->header()->sectionSize(i), widths[i]);
    }
    QVERIFY(!list->rootIsDecorated());
    QCOMPARE(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(list->palette().color(QPalette::Base), QColor(246, 246, 246));

    auto* save = Child<QPushButton>(window, "bSaveButton");
    auto* close = Child<QPushButton>(window, "bCloseButton");
    QCOMPARE(save->text(), QStringLiteral("Сохранить результаты"));
    QCOMPARE(save->geometry(), QRect(219, 373, 153, 25));
    QCOMPARE(close->text(), QStringLiteral("Закрыть"));
    QCOMPARE(close->geometry(), QRect(378, 373, 75, 25));
    QVERIFY(close->isDefault());
    QVERIFY(!save->isDefault());

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), close);
    QTest::keyClick(close, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), save);
    list->setFocus();
    // Esc is no way out: the window has no cancel button.
    QTest::keyClick(list, Qt::Key_Escape);
    QTest::qWait(20);
    QVERIFY(window.isVisible());
    QTest::keyClick(list, Qt::Key_Return);
    QTRY_VERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Accepted));
}

void TestResults::rowsShowTheCells()
{
    TfResults window;
    Fill(window);
    window.SetTimeText(QStringLiteral("1.050 сек."));
    window.SetStepsCount(42);

    QCOMPARE(List(window)->model()->rowCount(), 5);
    QCOMPARE(Cell(window, 1, 0), QStringLiteral("$000B"));
    QCOMPARE(Cell(window, 1, 1), QStringLiteral("11001000"));
    QCOMPARE(Cell(window, 1, 2), QStringLiteral("C8"));
    QCOMPARE(Cell(window, 1, 3), QString(QChar(200)));
    QCOMPARE(Cell(window, 4, 3), QStringLiteral("\t"));
    QCOMPARE(Addresses(window),
             QStringList({"$0010", "$000B", "$0001", "$00A0", "$000C"}));
    QCOMPARE(Child<QLabel>(window, "lTime")->text(), QStringLiteral("1.050 сек."));
    QCOMPARE(Child<QLabel>(window, "lStepsCount")->text(), QStringLiteral("42"));
}

void TestResults::nulCharacterShowsEmpty()
{
    TfResults window;
    window.AddRow(MakeResultRow(u"0000", 0));
    QCOMPARE(Cell(window, 0, 3), QString());
    // The row itself still carries the character, so the file gets its zero byte.
    const std::vector<TResultRow> rows = window.Rows();
    QCOMPARE(rows.size(), std::size_t(1));
    QCOMPARE(rows[0].character, std::u16string(1, u'\0'));
}

void TestResults::largeStepCountShownWhole()
{
    TfResults window;
    window.SetStepsCount(4294967296ULL + 5);
    auto* steps = Child<QLabel>(window, "lStepsCount");
    QCOMPARE(steps->text(), QStringLiteral("4294967301"));
    window.SetStepsCount(18446744073709551615ULL);
    QCOMPARE(steps->text(), QStringLiteral("18446744073709551615"));
}

void TestResults::columnsKeepMinimumWidth()
{
    TfResults window;
    QHeaderView* header = List(window)->header();
    const int minimums[] = {70, 120, 90, 30};
    for (int i = 0; i < 4; ++i) {
        header->resizeSection(i, 5);
        QCOMPARE(header->sectionSize(i), minimums[i]);
        header->resizeSection(i, minimums[i] + 17);
        QCOMPARE(header->sectionSize(i), minimums[i] + 17);
    }
}

void TestResults::listFollowsTheEdges()
{
    TfResults window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.resize(600, 500);
    QCOMPARE(List(window)->geometry(), QRect(8, 88, 584, 373));
    QCOMPARE(Child<QPushButton>(window, "bSaveButton")->geometry(),
             QRect(358, 467, 153, 25));
    QCOMPARE(Child<QPushButton>(window, "bCloseButton")->geometry(),
             QRect(517, 467, 75, 25));
}

void TestResults::initTestCase()
{
    // The order must not follow the process locale: run under the one that
    // has no collation of its own, where code-point order would show.
    QVERIFY(std::setlocale(LC_ALL, "C") != nullptr);
}

void TestResults::compareTexts_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("sign");
    QTest::newRow("digits in order") << "$0001" << "$0009" << -1;
    QTest::newRow("digit before upper letter") << "$0009" << "$000A" << -1;
    QTest::newRow("digit before lower letter") << "$0009" << "$000a" << -1;
    QTest::newRow("letter after digit, earlier place") << "$00A0" << "$0010" << 1;
    QTest::newRow("lower letter after digit") << "$00f0" << "$0090" << 1;
    QTest::newRow("letters in order") << "$000B" << "$000C" << -1;
    QTest::newRow("equal") << "$00AB" << "$00AB" << 0;
    QTest::newRow("binary texts") << "00000111" << "11001000" << -1;
    QTest::newRow("letter case ignored first") << "$00ab" << "$00AC" << -1;
    QTest::newRow("upper letter later first") << "$00AB" << "$00ac" << -1;
    QTest::newRow("then lower case first") << "$00ab" << "$00AB" << -1;
    QTest::newRow("first case difference decides") << "$00aB" << "$00Ab" << -1;
    QTest::newRow("case after a longer primary") << "$00AB" << "$00aBc" << -1;
}

void TestResults::compareTexts()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, sign);
    const auto signOf = [](int v) { return (v > 0) - (v < 0); };
    QCOMPARE(signOf(CompareTexts(a, b)), sign);
    QCOMPARE(signOf(CompareTexts(b, a)), -sign);
}

void TestResults::addressesSortAsTheLocalesDo()
{
    // The order that the Russian and the US English locales give these names.
    const QStringList ordered = {
        "$0009", "$000a", "$000A", "$0010", "$00a0", "$00A0", "$00ab", "$00aB", "$00Ab",
        "$00AB", "$00ac", "$00AC", "$0aA0", "$0Aa0", "$a000", "$A000", "$aaaa", "$aAaA",
        "$AaAa", "$AAAA", "$ffff", "$fFfF", "$FfFf", "$FFFF"};
    QStringList created = ordered;
    std::mt19937 random(7);
    std::shuffle(created.begin(), created.end(), random);
    TfResults window;
    for (const QString& address : created)
        window.AddRow(MakeResultRow(address.mid(1).toStdU16String(), 1));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ClickHeader(window, 0);
    QStringList reversed(ordered.rbegin(), ordered.rend());
    QCOMPARE(Addresses(window), reversed);
    ClickHeader(window, 0);
    QCOMPARE(Addresses(window), ordered);
}

void TestResults::packedAndGeneralSortsAgree_data()
{
    QTest::addColumn<QString>("extra");
    QTest::newRow("addresses only") << QString();
    // One name outside the usual form sends the sort down its general path.
    QTest::newRow("with an odd name") << QStringLiteral("0Ж0ж");
}

void TestResults::packedAndGeneralSortsAgree()
{
    QFETCH(QString, extra);
    // Few distinct names, so that equal ones show whether the sort is stable.
    std::mt19937 random(11);
    const QString digits = QStringLiteral("09aAfF");
    TfResults window;
    QStringList created;
    for (int i = 0; i < 600; ++i) {
        QString name;
        for (int d = 0; d < 4; ++d)
            name += digits[int(random() % digits.size())];
        created << QStringLiteral("$") + name;
        window.AddRow(MakeResultRow(name.toStdU16String(), std::uint8_t(random() % 4)));
    }
    if (!extra.isEmpty()) {
        created << QStringLiteral("$") + extra;
        window.AddRow(MakeResultRow(extra.toStdU16String(), 2));
    }
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (int column : {0, 0, 1}) {
        ClickHeader(window, column);
        const std::vector<TResultRow> rows = window.Rows();
        QCOMPARE(rows.size(), std::size_t(created.size()));
        for (std::size_t i = 1; i < rows.size(); ++i) {
            const int order = CompareItems(rows[i - 1], rows[i], column);
            QVERIFY2(order <= 0, qPrintable(QString::fromStdU16String(rows[i].address)));
        }
    }
    // Equal values keep the ascending address order of the sort before: the
    // sort is stable.
    const std::vector<TResultRow> rows = window.Rows();
    QCOMPARE(SortOrder, 1);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        if (rows[i - 1].binary == rows[i].binary)
            QVERIFY(CompareItems(rows[i - 1], rows[i], 0) <= 0);
    }
}

void TestResults::headerClicks_data()
{
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<int>("sortOrder");

    const QStringList byAddressUp = {"$0001", "$000B", "$000C", "$0010", "$00A0"};
    const QStringList byAddressDown = {"$00A0", "$0010", "$000C", "$000B", "$0001"};
    // Values: 0010=7, 000B=200, 0001=255, 00A0=0, 000C=9.
    const QStringList byValueUp = {"$00A0", "$0010", "$000C", "$000B", "$0001"};
    const QStringList byValueDown = {"$0001", "$000B", "$000C", "$0010", "$00A0"};

    QTest::newRow("address first click descends") << QList<int>{0} << byAddressDown << -1;
    QTest::newRow("address second click ascends") << QList<int>{0, 0} << byAddressUp << 1;
    QTest::newRow("binary first click ascends") << QList<int>{1} << byValueUp << 1;
    QTest::newRow("binary second click descends") << QList<int>{1, 1} << byValueDown << -1;
    QTest::newRow("hex sorts by value") << QList<int>{2} << byValueUp << 1;
    QTest::newRow("character sorts by value") << QList<int>{3} << byValueUp << 1;
    QTest::newRow("character reversed") << QList<int>{3, 3} << byValueDown << -1;
    QTest::newRow("another value column ascends again") << QList<int>{2, 2, 3} << byValueUp << 1;
    QTest::newRow("back to address ascends") << QList<int>{1, 0} << byAddressUp << 1;
}

void TestResults::headerClicks()
{
    QFETCH(QList<int>, clicks);
    QFETCH(QStringList, order);
    QFETCH(int, sortOrder);

    TfResults window;
    Fill(window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (int column : clicks)
        ClickHeader(window, column);
    QCOMPARE(Addresses(window), order);
    QCOMPARE(SortColumn, clicks.last());
    QCOMPARE(SortOrder, sortOrder);
}

void TestResults::newWindowResetsSortState()
{
    {
        TfResults first;
        Fill(first);
        first.show();
        QVERIFY(QTest::qWaitForWindowExposed(&first));
        ClickHeader(first, 2);
        ClickHeader(first, 2);
        QCOMPARE(SortOrder, -1);
    }
    TfResults second;
    QCOMPARE(SortColumn, 0);
    QCOMPARE(SortOrder, 1);
    Fill(second);
    QCOMPARE(Addresses(second), QStringList({"$0010", "$000B", "$0001", "$00A0", "$000C"}));
}

void TestResults::saveAfterSortWritesShownOrder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TfResults window;
    window.AddRow(MakeResultRow(u"0002", 13));
    window.AddRow(MakeResultRow(u"0001", 0));
    window.AddRow(MakeResultRow(u"000F", 169));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ClickHeader(window, 0);
    ClickHeader(window, 0);

    // Typed without extension: the dialog adds "txt".
    TSaveDialogAnswer answer(dir.filePath(QStringLiteral("sorted")));
    QTest::mouseClick(Child<QPushButton>(window, "bSaveButton"), Qt::LeftButton);
    QVERIFY(answer.Answered());
    QVERIFY(window.isVisible());

    const QByteArray expected =
        QByteArray("\xC0\xE4\xF0\xE5\xF1\t\xC7\xED\xE0\xF7\xE5\xED\xE8\xE5 "
                   "(\xE4\xE2\xEE\xE8\xF7\xED\xEE\xE5)\t\xC7\xED\xE0\xF7\xE5\xED\xE8\xE5 "
                   "(16-\xE5)\t\xD1\xE8\xEC\xE2\xEE\xEB\r\n")
        + QByteArray("$0001\t00000000\t00\t", 18) + QByteArray(1, '\0') + "\r\n"
        + "$0002\t00001101\t0D\t\r\r\n"
        + "$000F\t10101001\tA9\t\xA9\r\n";
    QCOMPARE(ReadAll(dir.filePath(QStringLiteral("sorted.txt"))), expected);
}

void TestResults::secondSaveProposesLastName()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TfResults window;
    window.AddRow(MakeResultRow(u"0001", 65));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* save = Child<QPushButton>(window, "bSaveButton");

    const QString target = dir.filePath(QStringLiteral("mine.txt"));
    TSaveDialogAnswer first(target);
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(first.Proposed(), QStringLiteral("results"));
    QVERIFY(!first.OverwriteAsked());

    TSaveDialogAnswer second(target);
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(second.Proposed(), QStringLiteral("mine.txt"));
    QVERIFY(second.OverwriteAsked());
    QVERIFY(ReadAll(target).endsWith("$0001\t01000001\t41\tA\r\n"));
}

void TestResults::cancelledSaveWritesNothing()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QDir::setCurrent(dir.path());
    TfResults window;
    window.AddRow(MakeResultRow(u"0001", 1));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    bool rejected = false;
    QTimer::singleShot(50, [&rejected] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            dialog->reject();
            rejected = true;
        }
    });
    QTest::mouseClick(Child<QPushButton>(window, "bSaveButton"), Qt::LeftButton);
    QVERIFY(rejected);
    QVERIFY(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

void TestResults::enterPressesFocusedButton()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TfResults window;
    window.AddRow(MakeResultRow(u"0001", 1));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QTreeView* list = List(window);
    auto* save = Child<QPushButton>(window, "bSaveButton");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), save);

    // Enter on "Сохранить результаты" saves, and the results stay.
    const QString target = dir.filePath(QStringLiteral("kept.txt"));
    TSaveDialogAnswer answer(target);
    QTest::keyClick(save, Qt::Key_Return);
    QVERIFY(answer.Answered());
    QVERIFY(window.isVisible());
    QVERIFY(ReadAll(target).contains("$0001"));

    // The focus leaves the save button for the list, where Enter is "Закрыть".
    QCOMPARE(window.focusWidget(), list);
    QVERIFY(Child<QPushButton>(window, "bCloseButton")->isDefault());
    QTest::keyClick(list, Qt::Key_Enter, Qt::KeypadModifier);
    QTRY_VERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Accepted));
}

void TestResults::saveOntoDirectoryThrows()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString target = dir.filePath(QStringLiteral("results.txt"));
    QVERIFY(QDir().mkdir(target));
    QFile inside(target + QStringLiteral("/keep"));
    QVERIFY(inside.open(QIODevice::WriteOnly));
    inside.write("old");
    inside.close();

    TfResults window;
    window.AddRow(MakeResultRow(u"0001", 1));
    QString message;
    try {
        window.SaveTo(target);
    } catch (const std::runtime_error& error) {
        message = QString::fromUtf8(error.what());
    }
    QVERIFY2(message.contains(target), qPrintable(message));
    QVERIFY(QFileInfo(target).isDir());
    QCOMPARE(ReadAll(target + QStringLiteral("/keep")), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList({"results.txt"}));
}

void TestResults::saveReplacesOldFileWhole()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString target = dir.filePath(QStringLiteral("r.txt"));
    QFile old(target);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(1000, 'x'));
    old.close();

    TfResults empty;
    empty.SaveTo(target);
    const QByteArray header = ReadAll(target);
    QVERIFY(header.endsWith("\xD1\xE8\xEC\xE2\xEE\xEB\r\n"));
    QCOMPARE(header.count("\r\n"), 1);
    QVERIFY(!header.contains('x'));
}

QTEST_MAIN(TestResults)
#include "tst_results.moc"
