// The cells model and panel: rows in creation order, what a refresh reports,
// the changed and current marks, and the address filter.
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTest>

#include "ui/debugger/cellsmodel.h"
#include "ui/debugger/cellspanel.h"
#include "ui/debugger/cellvalue.h"

namespace {

using TNames = std::vector<std::u16string>;
using TValues = std::vector<std::uint8_t>;

QString Text(const TCellsModel& model, int row, int column)
{
    return model.data(model.index(row, column)).toString();
}

bool Changed(const TCellsModel& model, int row)
{
    return model.data(model.index(row, 0), TCellsModel::ChangedRole).toBool();
}

bool Current(const TCellsModel& model, int row)
{
    return model.data(model.index(row, 0), TCellsModel::CurrentRole).toBool();
}

} // namespace

class TestCellsModel : public QObject {
    Q_OBJECT
private slots:
    void columnsShowEveryForm_data();
    void columnsShowEveryForm();
    void newCellsAreAppendedRows();
    void destroyedCellRebuilds();
    void refreshReportsOnlyChangedRows();
    void changedSinceLastSettle();
    void currentCellMarked();
    void clearForgetsEverything();
    void panelFiltersByAddress();
    void panelStacksFollowTheirEntries();
    void typedValuesInEveryBase_data();
    void typedValuesInEveryBase();
};

void TestCellsModel::columnsShowEveryForm_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("zero") << 0 << QStringList{"$00aF", "0", "00", "00000000", "\u00B7"};
    QTest::newRow("letter") << 0x41 << QStringList{"$00aF", "65", "41", "01000001", "A"};
    QTest::newRow("delete") << 0x7F << QStringList{"$00aF", "127", "7F", "01111111", "\u00B7"};
    QTest::newRow("no-break space") << 0xA0 << QStringList{"$00aF", "160", "A0", "10100000", "\u00A0"};
    QTest::newRow("top") << 255 << QStringList{"$00aF", "255", "FF", "11111111", QString(QChar(0xFF))};
}

void TestCellsModel::columnsShowEveryForm()
{
    QFETCH(int, value);
    QFETCH(QStringList, texts);
    TCellsModel model;
    model.Refresh({u"00aF"}, {std::uint8_t(value)}, -1);
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.columnCount(), int(TCellsModel::cColumns));
    QStringList shown;
    for (int column = 0; column < model.columnCount(); ++column)
        shown << Text(model, 0, column);
    QCOMPARE(shown, texts);
}

void TestCellsModel::typedValuesInEveryBase_data()
{
    // -1: refused
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("decimal") << "31" << 31;
    QTest::newRow("blanks around") << " 255 " << 255;
    QTest::newRow("hex 0x") << "0x1F" << 0x1F;
    QTest::newRow("hex 0X lower") << "0Xff" << 0xFF;
    QTest::newRow("hex $") << "$1f" << 0x1F;
    QTest::newRow("binary") << "0b101" << 5;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("over a byte") << "256" << -1;
    QTest::newRow("hex over a byte") << "0x100" << -1;
    QTest::newRow("hex without prefix") << "1F" << -1;
    QTest::newRow("binary digit 2") << "0b102" << -1;
    QTest::newRow("sign") << "+5" << -1;
    QTest::newRow("negative") << "-1" << -1;
    QTest::newRow("prefix alone") << "0x" << -1;
    QTest::newRow("inner blank") << "1 2" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("arabic-indic digit") << QString(QChar(0x0661)) << -1;
}

void TestCellsModel::typedValuesInEveryBase()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    const std::optional<std::uint8_t> parsed = ParseCellValue(text);
    QCOMPARE(parsed ? int(*parsed) : -1, value);
}

void TestCellsModel::newCellsAreAppendedRows()
{
    TCellsModel model;
    model.Refresh({u"0002", u"0001"}, {1, 2}, 0);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.Refresh({u"0002", u"0001", u"0003"}, {1, 2, 3}, 2);
    QCOMPARE(reset.count(), 0);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted[0][1].toInt(), 2);
    QCOMPARE(inserted[0][2].toInt(), 2);
    QCOMPARE(Text(model, 0, 0), QStringLiteral("$0002"));
    QCOMPARE(Text(model, 2, 0), QStringLiteral("$0003"));
}

void TestCellsModel::destroyedCellRebuilds()
{
    TCellsModel model;
    model.Refresh({u"0001", u"0002", u"0003"}, {1, 2, 3}, 2);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    // 0002 destroyed and a new cell made: as many rows, other cells.
    model.Refresh({u"0001", u"0003", u"0004"}, {1, 3, 0}, 1);
    QCOMPARE(reset.count(), 1);
    QCOMPARE(Text(model, 1, 0), QStringLiteral("$0003"));
    QCOMPARE(Text(model, 1, TCellsModel::cDecimal), QStringLiteral("3"));
    QCOMPARE(Text(model, 2, 0), QStringLiteral("$0004"));
    QVERIFY(Current(model, 1));
}

void TestCellsModel::refreshReportsOnlyChangedRows()
{
    TCellsModel model;
    TNames names;
    TValues values(1000, 0);
    for (int i = 0; i < 1000; ++i)
        names.push_back(QStringLiteral("%1").arg(i, 4, 16, QLatin1Char('0')).toStdU16String());
    model.Refresh(names, values, -1);
    model.SettleChanges();
    model.Refresh(names, values, -1);

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.Refresh(names, values, -1);
    QCOMPARE(changed.count(), 0);

    values[10] = 1;
    values[12] = 1;
    values[900] = 1;
    model.Refresh(names, values, -1);
    // Close rows in one range, far ones in another.
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed[0][0].toModelIndex().row(), 10);
    QCOMPARE(changed[0][1].toModelIndex().row(), 12);
    QCOMPARE(changed[1][0].toModelIndex().row(), 900);
    QCOMPARE(changed[1][1].toModelIndex().row(), 900);
    QCOMPARE(Text(model, 900, TCellsModel::cHex), QStringLiteral("01"));
}

void TestCellsModel::changedSinceLastSettle()
{
    TCellsModel model;
    // A fresh run: every cell is new at the first pause.
    model.Refresh({u"0001", u"0002"}, {0, 0}, -1);
    QVERIFY(Changed(model, 0));
    QVERIFY(Changed(model, 1));
    model.SettleChanges();
    // Settling keeps what is shown until the next refresh.
    QVERIFY(Changed(model, 0));

    model.Refresh({u"0001", u"0002"}, {5, 0}, -1);
    QVERIFY(Changed(model, 0));
    QVERIFY(!Changed(model, 1));
    // Changed and changed back between two pauses: nothing to see.
    model.Refresh({u"0001", u"0002"}, {0, 0}, -1);
    QVERIFY(!Changed(model, 0));

    model.Refresh({u"0001", u"0002"}, {7, 0}, -1);
    model.SettleChanges();
    model.Refresh({u"0001", u"0002"}, {7, 0}, -1);
    QVERIFY(!Changed(model, 0));

    // A cell destroyed and made again is new, though its value is the old one.
    model.Refresh({u"0001"}, {7}, -1);
    model.SettleChanges();
    model.Refresh({u"0001", u"0002"}, {7, 0}, -1);
    QVERIFY(!Changed(model, 0));
    QVERIFY(Changed(model, 1));
    QVERIFY(model.data(model.index(1, 2), Qt::BackgroundRole).isValid());
    QVERIFY(!model.data(model.index(0, 2), Qt::BackgroundRole).isValid());
    // A row's own background comes with its own text colour; others keep the palette's.
    QVERIFY(model.data(model.index(1, 2), Qt::ForegroundRole).isValid());
    QVERIFY(!model.data(model.index(0, 2), Qt::ForegroundRole).isValid());
}

void TestCellsModel::currentCellMarked()
{
    TCellsModel model;
    model.Refresh({u"0001", u"0002", u"0003"}, {0, 0, 0}, 1);
    model.SettleChanges();
    model.Refresh({u"0001", u"0002", u"0003"}, {0, 0, 0}, 1);
    QVERIFY(Current(model, 1));
    QVERIFY(model.data(model.index(1, 3), Qt::FontRole).value<QFont>().bold());
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.Refresh({u"0001", u"0002", u"0003"}, {0, 0, 0}, 2);
    QVERIFY(!Current(model, 1));
    QVERIFY(Current(model, 2));
    QCOMPARE(model.CurrentRow(), 2);
    // The row that lost the mark and the row that got it are repainted.
    QCOMPARE(changed.count(), 2);
    model.Refresh({u"0001", u"0002", u"0003"}, {0, 0, 0}, -1);
    QVERIFY(!Current(model, 2));
}

void TestCellsModel::clearForgetsEverything()
{
    TCellsModel model;
    model.Refresh({u"0001"}, {4}, 0);
    model.SettleChanges();
    model.Clear();
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.CurrentRow(), -1);
    // The old value is forgotten: the cell of the new run is new.
    model.Refresh({u"0001"}, {4}, -1);
    QVERIFY(Changed(model, 0));
}

void TestCellsModel::panelFiltersByAddress()
{
    TCellsPanel panel;
    panel.resize(300, 400);
    panel.show();
    panel.Model().Refresh({u"00A1", u"00B2", u"10a3"}, {1, 2, 3}, 2);
    auto* table = panel.findChild<QTableView*>(QStringLiteral("lCellsTable"));
    auto* filter = panel.findChild<QLineEdit*>(QStringLiteral("mCellsFilter"));
    QVERIFY(table && filter);
    QCOMPARE(panel.windowTitle(), QStringLiteral("Ячейки"));
    QCOMPARE(table->model()->rowCount(), 3);
    QTest::keyClicks(filter, QStringLiteral("a"));
    QCOMPARE(table->model()->rowCount(), 2);
    QTest::keyClicks(filter, QStringLiteral("3"));
    QCOMPARE(table->model()->rowCount(), 1);
    QCOMPARE(table->model()->index(0, 0).data().toString(), QStringLiteral("$10a3"));
    // A refresh keeps the filter.
    panel.Model().Refresh({u"00A1", u"00B2", u"10a3", u"20A3"}, {1, 2, 3, 4}, 3);
    QCOMPARE(table->model()->rowCount(), 2);
    filter->clear();
    QCOMPARE(table->model()->rowCount(), 4);
}

void TestCellsModel::panelStacksFollowTheirEntries()
{
    TCellsPanel panel;
    auto* loops = panel.findChild<QListWidget*>(QStringLiteral("lLoopStack"));
    auto* addresses = panel.findChild<QListWidget*>(QStringLiteral("lAddressStack"));
    QVERIFY(loops && addresses);
    const auto texts = [](const QListWidget* list) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->item(i)->text();
        return items;
    };
    panel.SetStacks({"$0002", "$0001"}, {"b 3", "a 1"});
    QListWidgetItem* kept = loops->item(0);
    panel.SetStacks({"$0001"}, {"b 2", "a 1", "c 0"});
    QCOMPARE(texts(addresses), QStringList{"$0001"});
    QCOMPARE(texts(loops), (QStringList{"b 2", "a 1", "c 0"}));
    // Entries are updated in place, not made anew on every refresh.
    QCOMPARE(loops->item(0), kept);
    panel.SetStacks({}, {});
    QCOMPARE(addresses->count(), 0);
    QCOMPARE(loops->count(), 0);
}

QTEST_MAIN(TestCellsModel)
#include "tst_cellsmodel.moc"
