#include "main.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCommandLinkButton>
#include <QDir>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QUrl>
#include <QVBoxLayout>
#include <stdexcept>

#include "formats/projectfile.h"
#include "ui/about.h"
#include "ui/application.h"
#include "ui/appversion.h"
#include "ui/finddialog.h"
#include "ui/latinkey.h"
#include "ui/printing.h"
#include "ui/qttimer.h"
#include "ui/website.h"

namespace {

const QString kUntitled = QStringLiteral("Безымянный");
const QString kSaveQuestion = QStringLiteral("Сохранить изменения в текущем проекте?");
const QString kCloseCaption = QStringLiteral("Завершение работы");

// The current project's path, shared by the whole unit as the title logic expects.
QString CurrentFileName = kUntitled;

// Everything after the last "/", "\" or ":".
QString FileNamePart(const QString& path)
{
    const auto cut = std::max({path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'),
                               path.lastIndexOf(u':')});
    return path.mid(cut + 1);
}

// Sets the printer's margins to its own minimum for one print job and gives
// the stored margins back afterwards, also when printing throws.
class TPrintableAreaMargins {
public:
    explicit TPrintableAreaMargins(QPrinter& printer)
        : _printer(printer), _stored(printer.pageLayout().margins()),
          _units(printer.pageLayout().units())
    {
        _printer.setPageMargins(printer.pageLayout().minimumMargins(), _units);
    }
    ~TPrintableAreaMargins() { _printer.setPageMargins(_stored, _units); }
    TPrintableAreaMargins(const TPrintableAreaMargins&) = delete;
    TPrintableAreaMargins& operator=(const TPrintableAreaMargins&) = delete;

private:
    QPrinter& _printer;
    QMarginsF _stored;
    QPageLayout::Unit _units;
};

// Hides its widget again whenever the widget's window shows it.
class TKeptHidden final : public QObject {
public:
    explicit TKeptHidden(QWidget* widget) : QObject(widget)
    {
        widget->installEventFilter(this);
        widget->hide();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ShowToParent)
            static_cast<QWidget*>(watched)->hide();
        return false;
    }
};

QStringList ProjectFilters()
{
    return {QStringLiteral("Проекты Vesk (*.veskp)"), QStringLiteral("Все файлы (*)")};
}

} // namespace

TfMain::TfMain(const QStringList& arguments, QWidget* parent) : QMainWindow(parent)
{
    BuildWindow();
    FormCreate(arguments);
}

TfMain::~TfMain() = default;

QString TfMain::CurrentFile() { return CurrentFileName; }

TVeskTimer& TfMain::MakeTimer(int intervalMs, std::function<void()> handler)
{
    return *new TQtTimer(intervalMs, std::move(handler), this);
}

// ---- creation and closing -------------------------------------------------

void TfMain::FormCreate(const QStringList& arguments)
{
    _core = std::make_unique<TVeskCore>(*this);
    _core->OnStart = [this](TVeskCore&) { CoreStart(); };
    _core->OnStop = [this](TVeskCore&) { CoreStop(); };
    _core->OnFinish = [this](TVeskCore&) { CoreFinish(); };
    _core->OnPause = [this](TVeskCore&) { CorePause(); };
    _core->OnError = [this](TVeskCore&, std::int32_t line, std::int32_t pos,
                            const std::u16string& message) { CoreError(line, pos, message); };
    NewProject();
    if (!arguments.isEmpty())
        LoadProjectFrom(arguments.first());
}

void TfMain::closeEvent(QCloseEvent* event)
{
    // Ignored first: a save that throws must leave the window open.
    event->ignore();
    if (!_core) {
        event->accept();
        return;
    }
    bool canClose = true;
    FormCloseQuery(canClose);
    if (!canClose)
        return;
    FormClose();
    event->accept();
}

void TfMain::FormCloseQuery(bool& canClose)
{
    if (_core->IsRun() || _paused) {
        _core->Pause();
        _paused = true;
        const QString question = QStringLiteral("Программа в данный момент выполняется. Прервать?");
        if (Ask(kCloseCaption, question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
            canClose = false;
            return;
        }
        _core->Stop();
    }
    canClose = SaveChangesFirst(kCloseCaption);
}

void TfMain::FormClose() { _core.reset(); }

int TfMain::Ask(const QString& caption, const QString& text, int buttons)
{
    QMessageBox box(QMessageBox::Question, caption, text,
                    QMessageBox::StandardButtons(buttons), this);
    return box.exec();
}

// ---- composition ----------------------------------------------------------

void TfMain::BuildWindow()
{
    setObjectName(QStringLiteral("fMain"));
    setWindowTitle(QStringLiteral("Vesk"));
    setFont(InterfaceFont());
    auto* client = new QWidget(this);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(BuildTopPanel());
    BuildEditor();
    auto* editorFrame = new QVBoxLayout;
    editorFrame->setContentsMargins(3, 3, 3, 3);
    editorFrame->addWidget(mEditor);
    column->addLayout(editorFrame, 1);
    setCentralWidget(client);
    BuildMenus();
    BuildDialogs();
    setMinimumSize(640, 480);
    // The client area excludes the menu bar.
    resize(793, 539 + menuBar()->sizeHint().height());
}

QWidget* TfMain::BuildTopPanel()
{
    auto* pTopPanel = new QWidget(this);
    pTopPanel->setObjectName(QStringLiteral("pTopPanel"));
    pTopPanel->setFixedHeight(73);
    auto* sPanel2 = new QWidget(pTopPanel);
    sPanel2->setObjectName(QStringLiteral("sPanel2"));
    auto* buttons = new QHBoxLayout(sPanel2);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(6);
    bBigRun = BuildRunButton("bBigRun", QStringLiteral("Выполнить"),
                             QStringLiteral("Запуск программы на выполнение"), 153,
                             TRunGlyph::Play);
    bBigPause = BuildRunButton("bBigPause", QStringLiteral("Приостановить"),
                               QStringLiteral("Временная остановка выполнения программы"), 178,
                               TRunGlyph::Pause);
    bBigStop = BuildRunButton("bBigStop", QStringLiteral("Прервать"),
                              QStringLiteral("Остановка выполнения и сброс состояния"), 177,
                              TRunGlyph::Stop);
    for (auto* button : {bBigRun, bBigPause, bBigStop})
        buttons->addWidget(button);
    bBigPause->setEnabled(false);
    bBigStop->setEnabled(false);
    connect(bBigRun, &QCommandLinkButton::clicked, this, &TfMain::bBigRunClick);
    connect(bBigPause, &QCommandLinkButton::clicked, this, &TfMain::bBigPauseClick);
    connect(bBigStop, &QCommandLinkButton::clicked, this, &TfMain::bBigStopClick);

    auto* centre = new QHBoxLayout(pTopPanel);
    centre->setContentsMargins(0, 0, 0, 0);
    centre->addStretch(1);
    centre->addWidget(sPanel2, 0, Qt::AlignVCenter);
    centre->addStretch(1);
    return pTopPanel;
}

QCommandLinkButton* TfMain::BuildRunButton(const char* name, const QString& caption,
                                           const QString& note, int width, TRunGlyph glyph)
{
    auto* button = new QCommandLinkButton(caption, note, this);
    button->setObjectName(QString::fromLatin1(name));
    // Set on the button itself: a command link sizes its texts from its own
    // font only where that font names a size, else it draws them larger and
    // the notes no longer fit in the button's height.
    button->setFont(InterfaceFont());
    button->setFixedSize(width, 66);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIconSize(QSize(32, 32));
    TRunButtonIcons icons{button, RunButtonIcon(glyph, false), RunButtonIcon(glyph, true)};
    button->setIcon(icons.normal);
    button->installEventFilter(this);
    iTopImages.push_back(std::move(icons));
    return button;
}

void TfMain::BuildEditor()
{
    mEditor = new QPlainTextEdit(this);
    mEditor->setObjectName(QStringLiteral("mEditor"));
    mEditor->setFont(EditorFont());
    mEditor->setLineWrapMode(QPlainTextEdit::NoWrap);
    mEditor->setTabChangesFocus(false);
    mEditor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mEditor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette palette = mEditor->palette();
    palette.setColor(QPalette::Base, EditorBackground());
    palette.setColor(QPalette::Text, Qt::black);
    // The selection stays visible while the find dialog has the focus.
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    mEditor->setPalette(palette);
    mEditor->installEventFilter(this);
    installEventFilter(this);
}

QMenu* TfMain::AddMenu(const char* name, const QString& caption)
{
    auto* menu = menuBar()->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name) + QStringLiteral("Action"));
    return menu;
}

QAction* TfMain::AddItem(QMenu* menu, const char* name, const QString& caption,
                         const QKeySequence& shortcut, THandler handler, THandler menuHandler)
{
    auto* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) {
        // Shown in the menu; the window dispatches the key itself (see eventFilter).
        item->setShortcut(shortcut);
        item->setShortcutContext(Qt::WidgetShortcut);
        _shortcuts.push_back({item, handler, menuHandler});
    }
    if (handler)
        connect(item, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    return item;
}

void TfMain::AddSeparator(QMenu* menu, const char* name)
{
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

void TfMain::BuildMenus()
{
    menuBar()->setObjectName(QStringLiteral("mMainMenu"));
    const QKeySequence none;

    auto* file = AddMenu("nFileItem", QStringLiteral("Файл"));
    AddItem(file, "nNewItem", QStringLiteral("Создать"), QKeySequence(Qt::CTRL | Qt::Key_N),
            &TfMain::nNewItemClick, nullptr);
    AddItem(file, "nOpenItem", QStringLiteral("Открыть..."), QKeySequence(Qt::CTRL | Qt::Key_O),
            &TfMain::nOpenItemClick, nullptr);
    AddItem(file, "nSaveItem", QStringLiteral("Сохранить"), QKeySequence(Qt::CTRL | Qt::Key_S),
            &TfMain::nSaveItemClick, nullptr);
    AddItem(file, "nSaveAsItem", QStringLiteral("Сохранить как..."),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &TfMain::nSaveAsItemClick, nullptr);
    AddSeparator(file, "nSeparator1");
    AddItem(file, "nPageItem", QStringLiteral("Параметры страницы..."), none,
            &TfMain::nPageItemClick, nullptr);
    AddItem(file, "nPrintItem", QStringLiteral("Печать"), QKeySequence(Qt::CTRL | Qt::Key_P),
            &TfMain::nPrintItemClick, nullptr);
    AddSeparator(file, "nSeparator2");
    AddItem(file, "nExitItem", QStringLiteral("Выход"), QKeySequence(Qt::ALT | Qt::Key_F4),
            &TfMain::nExitItemClick, nullptr);

    const THandler edit = &TfMain::nEditItemClick;
    auto* editMenu = AddMenu("nEditItem", QStringLiteral("Правка"));
    nUndoItem = AddItem(editMenu, "nUndoItem", QStringLiteral("Отменить"),
                        QKeySequence(Qt::CTRL | Qt::Key_Z), &TfMain::nUndoItemClick, edit);
    nUndoItem->setEnabled(false);
    AddSeparator(editMenu, "nSeparator3");
    nCutItem = AddItem(editMenu, "nCutItem", QStringLiteral("Вырезить"),
                       QKeySequence(Qt::CTRL | Qt::Key_X), &TfMain::nCutItemClick, edit);
    nCopyItem = AddItem(editMenu, "nCopyItem", QStringLiteral("Копировать"),
                        QKeySequence(Qt::CTRL | Qt::Key_C), &TfMain::nCopyItemClick, edit);
    nPasteItem = AddItem(editMenu, "nPasteItem", QStringLiteral("Вставить"),
                         QKeySequence(Qt::CTRL | Qt::Key_V), &TfMain::nPasteItemClick, edit);
    AddSeparator(editMenu, "nSeparator4");
    AddItem(editMenu, "nSelectAllItem", QStringLiteral("Выделить все"),
            QKeySequence(Qt::CTRL | Qt::Key_A), &TfMain::nSelectAllItemClick, edit);
    AddItem(editMenu, "nDeleteItem", QStringLiteral("Удалить"), none, &TfMain::nDeleteItemClick,
            edit);
    AddSeparator(editMenu, "nSeparator5");
    AddItem(editMenu, "nSearchItem", QStringLiteral("Поиск"), QKeySequence(Qt::CTRL | Qt::Key_F),
            &TfMain::nSearchItemClick, edit);
    connect(editMenu, &QMenu::aboutToShow, this, &TfMain::nEditItemClick);

    const THandler project = &TfMain::nProjectItemClick;
    auto* projectMenu = AddMenu("nProjectItem", QStringLiteral("Проект"));
    nRunItem = AddItem(projectMenu, "nRunItem", QStringLiteral("Выполнить"),
                       QKeySequence(Qt::Key_F9), &TfMain::bBigRunClick, project);
    nPauseItem = AddItem(projectMenu, "nPauseItem", QStringLiteral("Приостановить"), none,
                         &TfMain::bBigPauseClick, project);
    nStopItem = AddItem(projectMenu, "nStopItem", QStringLiteral("Прервать"),
                        QKeySequence(Qt::CTRL | Qt::Key_F2), &TfMain::bBigStopClick, project);
    connect(projectMenu, &QMenu::aboutToShow, this, &TfMain::nProjectItemClick);

    auto* tools = AddMenu("nToolsItem", QStringLiteral("Инструменты"));
    AddItem(tools, "nSettingsItem", QStringLiteral("Параметры"), none, nullptr, nullptr)
        ->setEnabled(false);
    tools->menuAction()->setVisible(false);

    auto* help = AddMenu("nHelpItem", QStringLiteral("Справка"));
    AddItem(help, "nAboutItem", QStringLiteral("О программе..."),
            QKeySequence(Qt::SHIFT | Qt::Key_F1), &TfMain::nAboutItemClick, nullptr);
    AddSeparator(help, "nSeparator6");
    AddItem(help, "nWikiItem", QStringLiteral("Вызов справки"), QKeySequence(Qt::Key_F1),
            &TfMain::nWikiItemClick, nullptr)
        ->setVisible(false);
    AddItem(help, "nWebItem", QStringLiteral("Сайт программы"), none, &TfMain::nWebItemClick,
            nullptr);
}

void TfMain::BuildDialogs()
{
    dOpenDialog = new QFileDialog(this);
    dOpenDialog->setObjectName(QStringLiteral("dOpenDialog"));
    dOpenDialog->setAcceptMode(QFileDialog::AcceptOpen);
    dOpenDialog->setFileMode(QFileDialog::AnyFile);

    dSaveDialog = new QFileDialog(this);
    dSaveDialog->setObjectName(QStringLiteral("dSaveDialog"));
    dSaveDialog->setAcceptMode(QFileDialog::AcceptSave);
    dSaveDialog->setFileMode(QFileDialog::AnyFile);
    dSaveDialog->setDefaultSuffix(QStringLiteral("veskp"));

    for (auto* dialog : {dOpenDialog, dSaveDialog}) {
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        dialog->setNameFilters(ProjectFilters());
        dialog->selectNameFilter(ProjectFilters().first());
        dialog->setSizeGripEnabled(true);
    }

    dFindDialog = new TFindDialog(this);
    dFindDialog->setObjectName(QStringLiteral("dFindDialog"));
    connect(dFindDialog, &TFindDialog::Find, this, &TfMain::dFindDialogFind);
}

// ---- shortcuts and hover pictures -----------------------------------------

bool TfMain::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (type == QEvent::ShortcutOverride || type == QEvent::KeyPress) {
        if (const TShortcutItem* shortcut = ShortcutFor(*static_cast<QKeyEvent*>(event))) {
            // Accepting the override keeps the editor's own bindings and Qt's
            // shortcut map out; the press itself runs the item.
            event->accept();
            if (type == QEvent::KeyPress)
                RunShortcut(*shortcut);
            return true;
        }
    }
    if (HoverEvent(watched, event))
        return false;
    return QMainWindow::eventFilter(watched, event);
}

const TfMain::TShortcutItem* TfMain::ShortcutFor(const QKeyEvent& key) const
{
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    const auto find = [this, modifiers](Qt::Key code) -> const TShortcutItem* {
        const QKeyCombination pressed(modifiers, code);
        for (const auto& shortcut : _shortcuts) {
            if (shortcut.item->shortcut()[0] == pressed)
                return &shortcut;
        }
        return nullptr;
    };
    if (const TShortcutItem* shortcut = find(Qt::Key(key.key())))
        return shortcut;
    // A letter of another layout (Ctrl+Ы for Ctrl+S): the key's Latin letter.
    const bool latinLetter = key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z;
    if (latinLetter || !(modifiers & (Qt::ControlModifier | Qt::AltModifier)))
        return nullptr;
    const Qt::Key latin = LatinLetterKey(key.nativeScanCode());
    return latin == Qt::Key_unknown ? nullptr : find(latin);
}

void TfMain::RunShortcut(const TShortcutItem& shortcut)
{
    // As if the item's menu were opened first, so its enabling rules apply.
    if (shortcut.menuHandler)
        (this->*shortcut.menuHandler)();
    // Qt reports a hidden item as disabled; a hidden item's key still works
    // (F1), and no hidden item is ever disabled on its own.
    const bool enabled = shortcut.item->isEnabled() || !shortcut.item->isVisible();
    if (enabled && shortcut.handler)
        (this->*shortcut.handler)();
}

bool TfMain::HoverEvent(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Enter && event->type() != QEvent::Leave)
        return false;
    for (const auto& icons : iTopImages) {
        if (icons.button == watched) {
            icons.button->setIcon(event->type() == QEvent::Enter ? icons.hovered : icons.normal);
            return true;
        }
    }
    return false;
}

// ---- edit commands --------------------------------------------------------

void TfMain::nEditItemClick()
{
    const bool selected = mEditor->textCursor().hasSelection();
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    nUndoItem->setEnabled(mEditor->document()->isUndoAvailable());
    nCutItem->setEnabled(selected);
    nCopyItem->setEnabled(selected);
    nPasteItem->setEnabled(clipboard != nullptr && clipboard->hasText());
}

void TfMain::nProjectItemClick()
{
    nRunItem->setEnabled(bBigRun->isEnabled());
    nPauseItem->setEnabled(bBigPause->isEnabled());
    nStopItem->setEnabled(bBigStop->isEnabled());
}

void TfMain::nUndoItemClick() { mEditor->undo(); }

void TfMain::nCutItemClick() { mEditor->cut(); }

void TfMain::nCopyItemClick() { mEditor->copy(); }

void TfMain::nPasteItemClick() { mEditor->paste(); }

void TfMain::nSelectAllItemClick() { mEditor->selectAll(); }

void TfMain::nDeleteItemClick()
{
    QTextCursor cursor = mEditor->textCursor();
    cursor.removeSelectedText();
    mEditor->setTextCursor(cursor);
}

void TfMain::nExitItemClick() { close(); }

void TfMain::nWebItemClick() { QDesktopServices::openUrl(QUrl(QString::fromLatin1(kWebSite))); }

void TfMain::nWikiItemClick()
{
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(kWebSite) + QStringLiteral("/wiki/")));
}

void TfMain::nAboutItemClick()
{
    TfAbout about(this);
    about.SetVersion(GetAppVersion());
    about.SetWebSite(QString::fromLatin1(kWebSite));
    about.exec();
}

// ---- printing -------------------------------------------------------------

QPrinter& TfMain::Printer()
{
    if (!_printer) {
        _printer = std::make_unique<QPrinter>();
        _printer->setPageSize(QPageSize(QPageSize::A4));
        _printer->setPageMargins(QMarginsF(25, 25, 25, 25), QPageLayout::Millimeter);
    }
    return *_printer;
}

void TfMain::nPageItemClick()
{
    if (!dPageDialog) {
        dPageDialog = new QPageSetupDialog(&Printer(), this);
        dPageDialog->setObjectName(QStringLiteral("dPageDialog"));
    }
    dPageDialog->exec();
}

void TfMain::nPrintItemClick()
{
    if (!dPrintDialog) {
        dPrintDialog = new QPrintDialog(&Printer(), this);
        dPrintDialog->setObjectName(QStringLiteral("dPrintDialog"));
        dPrintDialog->setOptions(QAbstractPrintDialog::PrintToFile |
                                 QAbstractPrintDialog::PrintShowPageSize |
                                 QAbstractPrintDialog::PrintCollateCopies);
        // Qt's own dialog shows its page-range box on every opening, whatever
        // the options say; the whole program is always printed, so none is offered.
        if (auto* range = dPrintDialog->findChild<QWidget*>(QStringLiteral("gbPrintRange")))
            new TKeptHidden(range);
    }
    dPrintDialog->setPrintRange(QAbstractPrintDialog::AllPages);
    if (dPrintDialog->exec() != QDialog::Accepted)
        return;
    // The print covers the whole printable area; the page-setup margins stay
    // stored in the printer for the dialog, but are not applied.
    TPrintableAreaMargins wholeArea(Printer());
    PrintProgram(Printer(), EditorLines(), mEditor->font(), CurrentFileName);
}

// ---- project files --------------------------------------------------------

QString TfMain::EditorText() const
{
    // The document's own text: block breaks become "\n", everything else stays
    // as typed (no-break spaces included).
    QString text = mEditor->document()->toRawText();
    for (QChar& c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    }
    return text;
}

std::vector<std::u16string> TfMain::SourceLines() const
{
    return SplitEditorLines(EditorText().toStdU16String());
}

QStringList TfMain::EditorLines() const
{
    QStringList lines;
    for (const auto& line : SourceLines())
        lines.append(QString::fromStdU16String(line));
    return lines;
}

void TfMain::SetProjectTitle()
{
    TVeskApplication::SetTitle(QStringLiteral("Vesk - ") + FileNamePart(CurrentFileName));
    setWindowTitle(TVeskApplication::Title());
}

bool TfMain::NewProject()
{
    mEditor->clear();
    mEditor->document()->setModified(false);
    CurrentFileName = kUntitled;
    SetProjectTitle();
    return true;
}

bool TfMain::LoadProject()
{
    QFile file(CurrentFileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    const std::u16string text =
        DecodeProjectText(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    mEditor->setPlainText(QString::fromStdU16String(text));
    mEditor->document()->setModified(false);
    SetProjectTitle();
    return true;
}

bool TfMain::LoadProjectFrom(const QString& path)
{
    // A failed load keeps the earlier path, so a later save cannot write this
    // editor's text over the file that failed to load.
    const QString previous = CurrentFileName;
    CurrentFileName = path;
    if (LoadProject())
        return true;
    CurrentFileName = previous;
    return false;
}

bool TfMain::OpenProject()
{
    if (dOpenDialog->exec() != QDialog::Accepted || dOpenDialog->selectedFiles().isEmpty())
        return false;
    return LoadProjectFrom(dOpenDialog->selectedFiles().first());
}

void TfMain::WriteProjectFile(const QString& path) const
{
    // Written beside the old file and renamed over it only when complete.
    // Unbuffered, so that a short write (a full disk) shows in write()'s count:
    // a buffered flush would let the truncated file through to commit().
    const std::string bytes = EncodeProjectText(EditorText().toStdU16String());
    QSaveFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
        file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()) && file.commit();
    if (!written) {
        const QString reason = file.error() != QFileDevice::NoError
                                   ? file.errorString()
                                   : QStringLiteral("Файл записан не полностью.");
        throw std::runtime_error(QStringLiteral("Не удается сохранить файл \"%1\". %2")
                                     .arg(QDir::toNativeSeparators(path), reason)
                                     .toStdString());
    }
}

bool TfMain::SaveProject()
{
    if (CurrentFileName == kUntitled)
        return SaveProjectAs();
    WriteProjectFile(CurrentFileName);
    mEditor->document()->setModified(false);
    return true;
}

bool TfMain::SaveProjectAs()
{
    dSaveDialog->selectFile(CurrentFileName);
    if (dSaveDialog->exec() != QDialog::Accepted || dSaveDialog->selectedFiles().isEmpty())
        return false;
    CurrentFileName = dSaveDialog->selectedFiles().first();
    WriteProjectFile(CurrentFileName);
    mEditor->document()->setModified(false);
    SetProjectTitle();
    return true;
}

bool TfMain::SaveChangesFirst(const QString& caption)
{
    if (!mEditor->document()->isModified())
        return true;
    switch (Ask(caption, kSaveQuestion, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes: return SaveProject();
    case QMessageBox::No: return true;
    default: return false;
    }
}

void TfMain::nNewItemClick()
{
    if (SaveChangesFirst(QStringLiteral("Создание проекта")))
        NewProject();
}

void TfMain::nOpenItemClick()
{
    if (SaveChangesFirst(QStringLiteral("Открытие проекта")))
        OpenProject();
}

void TfMain::nSaveItemClick() { SaveProject(); }

void TfMain::nSaveAsItemClick() { SaveProjectAs(); }
