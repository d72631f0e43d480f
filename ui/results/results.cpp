#include "ui/results/results.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QTreeView>
#include <algorithm>
#include <stdexcept>

#include "formats/filewrite.h"
#include "ui/app/application.h"
#include "ui/mainwindow/completionguard.h"
#include "ui/results/resultsmodel.h"
#include "ui/app/style.h"

std::int32_t SortColumn = 0;
std::int32_t SortOrder = 1;

namespace {

constexpr int kColumnCount = TResultsModel::kColumnCount;
constexpr int kWidths[kColumnCount] = {90, 150, 110, 50};
constexpr int kMinimumWidths[kColumnCount] = {70, 120, 90, 30};

} // namespace

int CompareItems(const TResultRow& a, const TResultRow& b, int column)
{
    return TResultsModel::CompareRows(a, b, column) * SortOrder;
}

TfResults::TfResults(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Результаты выполнения"));
    setFont(InterfaceFont());
    setSizeGripEnabled(true);
    CreateLabels();
    CreateList();
    CreateButtons();
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
                             tr("Выполнение программы успешно завершено."), 8, 8);
    sLabel1 = MakeLabel(this, "sLabel1", tr("Время выполнения:"), 8, 27);
    lTime = MakeLabel(this, "lTime", QString(), ValueX(sLabel1, "Время выполнения:", 113), 27);
    sLabel2 = MakeLabel(this, "sLabel2", tr("Выполнено операторов:"), 8, 46);
    lStepsCount = MakeLabel(this, "lStepsCount", QString(),
                            ValueX(sLabel2, "Выполнено операторов:", 137), 46);
    lVariablesLabel = MakeLabel(this, "lVariablesLabel",
                                tr("Текущие значения использованных переменных:"), 8,
                                69);
    lByHandLabel = MakeLabel(this, "lByHandLabel", tr("Ячейки были изменены вручную."), 8, 0);
    lByHandLabel->hide();
}

int TfResults::ValueX(const QLabel* caption, const char* russian, int russianX)
{
    // The Russian captions keep their values' places; a translated caption
    // leaves the gap its Russian one does, whatever its length.
    const QString original = QString::fromUtf8(russian);
    if (caption->text() == original)
        return russianX;
    const QFontMetrics metrics(caption->font());
    const int gap = std::max(4, russianX - caption->x() - metrics.horizontalAdvance(original));
    return caption->x() + metrics.horizontalAdvance(caption->text()) + gap;
}

void TfResults::CreateList()
{
    _rows = new TResultsModel(this);
    lVariablesList = new QTreeView(this);
    lVariablesList->setObjectName(QStringLiteral("lVariablesList"));
    lVariablesList->setModel(_rows);
    lVariablesList->setRootIsDecorated(false);
    lVariablesList->setItemsExpandable(false);
    lVariablesList->setUniformRowHeights(true);
    lVariablesList->setSortingEnabled(false);
    lVariablesList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lVariablesList->setSelectionBehavior(QAbstractItemView::SelectRows);
    lVariablesList->setSelectionMode(QAbstractItemView::SingleSelection);
    lVariablesList->setAllColumnsShowFocus(true);
    ApplyTextAreaColours(lVariablesList);

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
    bSaveButton = new QPushButton(tr("Сохранить результаты"), this);
    bSaveButton->setObjectName(QStringLiteral("bSaveButton"));
    // Enter presses the focused button; elsewhere it is "Закрыть", the default.
    bSaveButton->setAutoDefault(true);
    bCloseButton = new QPushButton(tr("Закрыть"), this);
    bCloseButton->setObjectName(QStringLiteral("bCloseButton"));
    bCloseButton->setDefault(true);
    connect(bSaveButton, &QPushButton::clicked, this, &TfResults::bSaveButtonClick);
    connect(bCloseButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TfResults::CreateSaveDialog()
{
    // Made at the first save: a file dialog costs more than the rest of the window.
    dSaveDialog = new QFileDialog(this);
    dSaveDialog->setObjectName(QStringLiteral("dSaveDialog"));
    dSaveDialog->setOption(QFileDialog::DontUseNativeDialog);
    dSaveDialog->setAcceptMode(QFileDialog::AcceptSave);
    dSaveDialog->setFileMode(QFileDialog::AnyFile);
    dSaveDialog->setDefaultSuffix(QStringLiteral("txt"));
    dSaveDialog->setNameFilters({tr("Текстовый файл (*.txt)"),
                                 tr("Все файлы (*)")});
    dSaveDialog->setSizeGripEnabled(true);
    KeepCompletionInDialog(*dSaveDialog);
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
    // Beside the buttons, so the list and the lines above it keep their places.
    lByHandLabel->move(8, h - 29);
}

void TfResults::KeepMinimumWidth(int section, int newSize)
{
    if (section >= 0 && section < kColumnCount && newSize < kMinimumWidths[section])
        lVariablesList->header()->resizeSection(section, kMinimumWidths[section]);
}

void TfResults::AddRow(const TResultRow& row)
{
    AddRows({row});
}

void TfResults::AddRows(std::vector<TResultRow> rows)
{
    _rows->Append(std::move(rows));
}

void TfResults::SetTimeText(const QString& text)
{
    SetLabelText(lTime, text);
}

void TfResults::SetStepsCount(std::uint64_t steps)
{
    SetLabelText(lStepsCount, QString::number(steps));
}

void TfResults::SetChangedByHand(bool changed)
{
    lByHandLabel->setVisible(changed);
}

std::vector<TResultRow> TfResults::Rows() const
{
    return _rows->ShownRows();
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
    _rows->Sort(column, SortOrder);
}

void TfResults::bSaveButtonClick()
{
    if (!dSaveDialog)
        CreateSaveDialog();
    dSaveDialog->selectFile(_lastFileName);
    if (dSaveDialog->exec() != QDialog::Accepted)
        return;
    const QStringList chosen = dSaveDialog->selectedFiles();
    if (chosen.isEmpty())
        return;
    _lastFileName = chosen.first();
    // A failed save is reported here; the window stays open and can save again.
    TVeskApplication::RunCommand([this] { SaveTo(_lastFileName); });
    // Enter on the focused save button would only save the same file again;
    // from the list it is the default "Закрыть".
    lVariablesList->setFocus();
}

void TfResults::SaveTo(const QString& fileName) const
{
    const std::string bytes = EncodeResultsFile(Rows());
    const QString failure =
        WriteWholeFile(fileName, QByteArrayView(bytes.data(), qsizetype(bytes.size())),
                       TWriteTarget::RegularFile);
    if (!failure.isEmpty())
        throw std::runtime_error(failure.toStdString());
}
