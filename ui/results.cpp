#include "results.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QSaveFile>
#include <QTreeWidget>
#include <algorithm>
#include <stdexcept>

#include "ui/application.h"
#include "ui/style.h"

std::int32_t SortColumn = 0;
std::int32_t SortOrder = 1;

namespace {

constexpr int kColumnCount = 4;
constexpr int kWidths[kColumnCount] = {90, 150, 110, 50};
constexpr int kMinimumWidths[kColumnCount] = {70, 120, 90, 30};
constexpr int kBinaryColumn = 1;
constexpr int kCharacterColumn = 3;
// The character itself; the cell shows nothing for U+0000.
constexpr int kCharacterRole = Qt::UserRole;

QString ToQString(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

int CompareTexts(const QString& a, const QString& b)
{
    // Collations differ on where digits go (and the C locale has none), so the
    // first place where the texts differ beyond letter case decides that part.
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        const QChar ca = a[i].toCaseFolded();
        const QChar cb = b[i].toCaseFolded();
        if (ca == cb)
            continue;
        if (IsDigit(ca) != IsDigit(cb))
            return IsDigit(ca) ? -1 : 1;
        break;
    }
    return Sign(QString::localeAwareCompare(a, b));
}

int CompareItems(const QTreeWidgetItem* a, const QTreeWidgetItem* b, int column)
{
    const int key = column == 0 ? 0 : kBinaryColumn;
    return CompareTexts(a->text(key), b->text(key)) * SortOrder;
}

TfResults::TfResults(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Результаты выполнения"));
    setFont(InterfaceFont());
    setSizeGripEnabled(true);
    CreateLabels();
    CreateList();
    CreateButtons();
    CreateSaveDialog();
    setTabOrder(lVariablesList, bCloseButton);
    setTabOrder(bCloseButton, bSaveButton);
    resize(461, 406);
    PlaceAnchoredControls();
    FormCreate();
}

void TfResults::FormCreate()
{
    SortOrder = 1;
    SortColumn = 0;
}

void TfResults::CreateLabels()
{
    lSuccesLabel = MakeLabel(this, "lSuccesLabel",
                             QStringLiteral("Выполнение программы успешно завершено."), 8, 8);
    sLabel1 = MakeLabel(this, "sLabel1", QStringLiteral("Время выполнения:"), 8, 27);
    lTime = MakeLabel(this, "lTime", QString(), 113, 27);
    sLabel2 = MakeLabel(this, "sLabel2", QStringLiteral("Выполнено операторов:"), 8, 46);
    lStepsCount = MakeLabel(this, "lStepsCount", QString(), 137, 46);
    lVariablesLabel = MakeLabel(this, "lVariablesLabel",
                                QStringLiteral("Текущие значения использованных переменных:"), 8,
                                69);
}

void TfResults::CreateList()
{
    lVariablesList = new QTreeWidget(this);
    lVariablesList->setObjectName(QStringLiteral("lVariablesList"));
    lVariablesList->setColumnCount(kColumnCount);
    lVariablesList->setHeaderLabels({QStringLiteral("Адрес"), QStringLiteral("Значение (двоичное)"),
                                     QStringLiteral("Значение (16-е)"), QStringLiteral("Символ")});
    lVariablesList->setRootIsDecorated(false);
    lVariablesList->setItemsExpandable(false);
    lVariablesList->setUniformRowHeights(true);
    lVariablesList->setSortingEnabled(false);
    lVariablesList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lVariablesList->setSelectionBehavior(QAbstractItemView::SelectRows);
    lVariablesList->setSelectionMode(QAbstractItemView::SingleSelection);
    lVariablesList->setAllColumnsShowFocus(true);
    QPalette palette = lVariablesList->palette();
    palette.setColor(QPalette::Base, EditorBackground());
    lVariablesList->setPalette(palette);

    QHeaderView* header = lVariablesList->header();
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    header->setSectionsClickable(true);
    header->setMinimumSectionSize(*std::min_element(std::begin(kMinimumWidths),
                                                    std::end(kMinimumWidths)));
    for (int i = 0; i < kColumnCount; ++i)
        header->resizeSection(i, kWidths[i]);
    connect(header, &QHeaderView::sectionResized, this,
            [this](int section, int, int newSize) { KeepMinimumWidth(section, newSize); });
    connect(header, &QHeaderView::sectionClicked, this, &TfResults::lVariablesListColumnClick);
}

void TfResults::CreateButtons()
{
    bSaveButton = new QPushButton(QStringLiteral("Сохранить результаты"), this);
    bSaveButton->setObjectName(QStringLiteral("bSaveButton"));
    bSaveButton->setAutoDefault(false);
    bCloseButton = new QPushButton(QStringLiteral("Закрыть"), this);
    bCloseButton->setObjectName(QStringLiteral("bCloseButton"));
    bCloseButton->setDefault(true);
    connect(bSaveButton, &QPushButton::clicked, this, &TfResults::bSaveButtonClick);
    connect(bCloseButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TfResults::CreateSaveDialog()
{
    dSaveDialog = new QFileDialog(this);
    dSaveDialog->setObjectName(QStringLiteral("dSaveDialog"));
    dSaveDialog->setOption(QFileDialog::DontUseNativeDialog);
    dSaveDialog->setAcceptMode(QFileDialog::AcceptSave);
    dSaveDialog->setFileMode(QFileDialog::AnyFile);
    dSaveDialog->setDefaultSuffix(QStringLiteral("txt"));
    dSaveDialog->setNameFilters({QStringLiteral("Текстовый файл (*.txt)"),
                                 QStringLiteral("Все файлы (*)")});
    dSaveDialog->setSizeGripEnabled(true);
    _lastFileName = QStringLiteral("results");
}

void TfResults::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    PlaceAnchoredControls();
}

void TfResults::keyPressEvent(QKeyEvent* event)
{
    // The window has no cancel button: only "Закрыть", Enter and the close box end it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfResults::PlaceAnchoredControls()
{
    // The list follows all four edges; the buttons keep their distance to the
    // right and bottom edges, as laid out for a 461x406 client area.
    const int w = width();
    const int h = height();
    lVariablesList->setGeometry(8, 88, w - 16, h - 127);
    bSaveButton->setGeometry(w - 242, h - 33, 153, 25);
    bCloseButton->setGeometry(w - 83, h - 33, 75, 25);
}

void TfResults::KeepMinimumWidth(int section, int newSize)
{
    if (section >= 0 && section < kColumnCount && newSize < kMinimumWidths[section])
        lVariablesList->header()->resizeSection(section, kMinimumWidths[section]);
}

void TfResults::AddRow(const TResultRow& row)
{
    auto* item = new QTreeWidgetItem(lVariablesList);
    item->setText(0, ToQString(row.address));
    item->setText(1, ToQString(row.binary));
    item->setText(2, ToQString(row.hex));
    const QString character = ToQString(row.character);
    item->setData(kCharacterColumn, kCharacterRole, character);
    const bool isNul = character.size() == 1 && character[0].unicode() == 0;
    item->setText(kCharacterColumn, isNul ? QString() : character);
}

void TfResults::SetTimeText(const QString& text)
{
    SetLabelText(lTime, text);
}

void TfResults::SetStepsCount(std::uint64_t steps)
{
    SetLabelText(lStepsCount, QString::number(steps));
}

std::vector<TResultRow> TfResults::Rows() const
{
    std::vector<TResultRow> rows;
    rows.reserve(lVariablesList->topLevelItemCount());
    for (int i = 0; i < lVariablesList->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = lVariablesList->topLevelItem(i);
        rows.push_back({item->text(0).toStdU16String(), item->text(1).toStdU16String(),
                        item->text(2).toStdU16String(),
                        item->data(kCharacterColumn, kCharacterRole).toString().toStdU16String()});
    }
    return rows;
}

void TfResults::lVariablesListColumnClick(int column)
{
    if (column == SortColumn) {
        SortOrder = -SortOrder;
    } else {
        SortOrder = 1;
        SortColumn = column;
    }
    SortRows(column);
}

void TfResults::SortRows(int column)
{
    // The rows are sorted here rather than by the list, whose own sorting
    // would compare the clicked column's texts.
    QTreeWidgetItem* current = lVariablesList->currentItem();
    QList<QTreeWidgetItem*> items;
    while (lVariablesList->topLevelItemCount() > 0)
        items.append(lVariablesList->takeTopLevelItem(0));
    std::stable_sort(items.begin(), items.end(),
                     [column](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
                         return CompareItems(a, b, column) < 0;
                     });
    lVariablesList->addTopLevelItems(items);
    if (current)
        lVariablesList->setCurrentItem(current);
}

void TfResults::bSaveButtonClick()
{
    dSaveDialog->selectFile(_lastFileName);
    if (dSaveDialog->exec() != QDialog::Accepted)
        return;
    const QStringList chosen = dSaveDialog->selectedFiles();
    if (chosen.isEmpty())
        return;
    _lastFileName = chosen.first();
    // A failed save is reported here; the window stays open and can save again.
    TVeskApplication::RunCommand([this] { SaveTo(_lastFileName); });
}

void TfResults::SaveTo(const QString& fileName) const
{
    const std::string bytes = EncodeResultsFile(Rows());
    QSaveFile file(fileName);
    const bool written = file.open(QIODevice::WriteOnly)
                         && file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size())
                         && file.commit();
    if (!written) {
        const QString message = QStringLiteral("Не удалось сохранить файл \"%1\": %2")
                                    .arg(QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()),
                                         file.errorString());
        throw std::runtime_error(message.toStdString());
    }
}
