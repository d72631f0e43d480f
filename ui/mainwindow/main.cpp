// TfMain: the window, its composition, creation and closing, and the edit and
// help commands.
#include "ui/mainwindow/main.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCommandLinkButton>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <QTextBlock>
#include <QVBoxLayout>

#include "ui/app/about.h"
#include "ui/app/application.h"
#include "ui/editor/codeeditor.h"
#include "ui/mainwindow/completionguard.h"
#include "ui/debugger/debugger.h"
#include "ui/app/appversion.h"
#include "ui/debugger/cellspanel.h"
#include "ui/mainwindow/finddialog.h"
#include "ui/app/guide.h"
#include "ui/app/idesettings.h"
#include "formats/errorreport.h"
#include "ui/editor/sourcechecker.h"
#include "ui/debugger/timetravel.h"
#include "ui/mainwindow/recentfilesmenu.h"
#include "ui/app/webpage.h"
#include "ui/app/website.h"

namespace {

// Built when asked, so that they come out in the interface language.
QString CloseCaption() { return QCoreApplication::translate("TfMain", "Завершение работы"); }

QStringList ProjectFilters()
{
    return {QCoreApplication::translate("TfMain", "Проекты Vesk (*.veskp)"),
            QCoreApplication::translate("TfMain", "Все файлы (*)")};
}

} // namespace

TfMain::TfMain(const QStringList& arguments, QWidget* parent) : QMainWindow(parent)
{
    BuildWindow();
    FormCreate(arguments);
    TIdeSettings().RestoreWindow(*this);
}

TfMain::~TfMain() = default;

// ---- creation and closing -------------------------------------------------

void TfMain::FormCreate(const QStringList& arguments)
{
    _project = new TProject(this);
    connect(_project, &TProject::Changed, this, &TfMain::SetProjectTitle);
    _run = std::make_unique<TRunController>([this] { return EditorText(); });
    // The debugger listens first: the panel and the marks are up to date
    // before the window's handlers open the results or the error report.
    _debugger = std::make_unique<TDebugger>(*_run, *mEditor, *pCellsPanel, *_project, nullptr);
    connect(_debugger.get(), &TDebugger::StepsShown, this, &TfMain::ShowSteps);
    connect(_debugger.get(), &TDebugger::Notice, lStatusNotice, &QLabel::setText);
    BindRun();
    BindPace();
    CoreStop();
    ShowSteps(_run->Core().Step());
    BuildTimeTravel();
    NewProject();
    if (!arguments.isEmpty())
        LoadProjectFrom(arguments.first());
}

void TfMain::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (!_run) {
        event->accept();
        return;
    }
    // A save that fails in the close question is reported and keeps the window open.
    bool canClose = true;
    if (!TVeskApplication::RunCommand([&] { FormCloseQuery(canClose); }) || !canClose)
        return;
    FormClose();
    event->accept();
}

void TfMain::FormCloseQuery(bool& canClose)
{
    if (_run->Active()) {
        _run->Pause();
        const QString question = tr("Программа в данный момент выполняется. Прервать?");
        if (Ask(CloseCaption(), question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
            canClose = false;
            return;
        }
        _run->Halt();
    }
    canClose = SaveChangesFirst(CloseCaption());
}

void TfMain::FormClose()
{
    TIdeSettings().SaveWindow(*this);
    _travel.reset();
    _debugger.reset();
    _run.reset();
}

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
    sTimeline = new TTimeline(client);
    editorFrame->addWidget(sTimeline);
    column->addLayout(editorFrame, 1);
    setCentralWidget(client);
    BuildCellsPanel();
    BuildMenus();
    BuildDialogs();
    BuildStatusBar();
    ShowShortcutsInTooltips();
    setMinimumSize(640, 480);
    // The client area excludes the menu bar and the status bar. There is room
    // for the cells panel beside the editor, within the screen (at 2x scaling
    // too); a geometry restored from an earlier run replaces this one.
    const QSize wanted(793 + pCellsPanel->WholeColumnsWidth(),
                       539 + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    QSize fitted = wanted;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        // Some room is left for the window's frame and title bar.
        const QSize room = screen->availableGeometry().size() - QSize(16, 40);
        fitted = wanted.boundedTo(room).expandedTo(minimumSize());
    }
    resize(fitted);
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
    bBigRun = BuildRunButton("bBigRun", tr("Выполнить"),
                             tr("Запуск программы на выполнение"), 153,
                             TRunGlyph::Play);
    bBigPause = BuildRunButton("bBigPause", tr("Приостановить"),
                               tr("Временная остановка выполнения программы"), 178,
                               TRunGlyph::Pause);
    bBigStop = BuildRunButton("bBigStop", tr("Прервать"),
                              tr("Остановка выполнения и сброс состояния"), 177,
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
    button->setFocusPolicy(Qt::NoFocus);
    button->setIconSize(QSize(32, 32));
    FitRunButton(button, width, 66);
    TRunButtonIcons icons{button, RunButtonIcon(glyph, false), RunButtonIcon(glyph, true)};
    button->setIcon(icons.normal);
    button->installEventFilter(this);
    iTopImages.push_back(std::move(icons));
    return button;
}

void TfMain::BuildEditor()
{
    mEditor = new TCodeEditor(this);
    mEditor->setObjectName(QStringLiteral("mEditor"));
    mEditor->setFont(EditorFont());
    mEditor->setLineWrapMode(QPlainTextEdit::NoWrap);
    mEditor->setTabChangesFocus(false);
    mEditor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mEditor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ApplyTextAreaColours(mEditor);
    QPalette palette = mEditor->palette();
    // The selection stays visible while the find dialog has the focus.
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    mEditor->setPalette(palette);
    mEditor->installEventFilter(this);
    installEventFilter(this);
    _checker = new TSourceChecker(mEditor);
}

void TfMain::BuildStatusBar()
{
    auto* bar = statusBar();
    bar->setObjectName(QStringLiteral("sStatusBar"));
    const auto addLabel = [bar](const char* name, bool permanent) {
        auto* label = new QLabel(bar);
        label->setObjectName(QString::fromLatin1(name));
        if (permanent)
            bar->addPermanentWidget(label);
        else
            bar->addWidget(label, 1);
        return label;
    };
    lStatusCheck = addLabel("lStatusCheck", false);
    lStatusNotice = addLabel("lStatusNotice", false);
    lStatusPosition = addLabel("lStatusPosition", true);
    lStatusState = addLabel("lStatusState", true);
    lStatusTime = addLabel("lStatusTime", true);
    lStatusSteps = addLabel("lStatusSteps", true);
    lStatusMark = addLabel("lStatusMark", true);
    lStatusMark->hide();
    connect(mEditor, &TCodeEditor::ExecutionMarkShortened, this, [this](bool shortened) {
        lStatusMark->setText(shortened ? tr("Длинная строка: отмечена только строка") : QString());
        lStatusMark->setVisible(shortened);
    });
    connect(mEditor, &QPlainTextEdit::cursorPositionChanged, this, &TfMain::ShowCaretPosition);
    connect(_checker, &TSourceChecker::Checked, lStatusCheck, &QLabel::setText);
    ShowCaretPosition();
}

void TfMain::ShowCaretPosition()
{
    // Counted as the error report counts: a tab is one character, columns from 1.
    const QTextCursor caret = mEditor->textCursor();
    lStatusPosition->setText(tr("Строка: %1, символ: %2")
                                 .arg(caret.blockNumber() + 1)
                                 .arg(caret.positionInBlock() + 1));
}

void TfMain::ShowRunState(const QString& state) { lStatusState->setText(state); }

// The results window's time counts steps, not seconds (an unpaced run of a
// moment reads like days); the status bar tells the time the run really took.
void TfMain::WallClockStart()
{
    if (_run->Core().Step() == 0) { // a fresh run, not a continue
        _wallMs = 0;
        lStatusTime->clear();
    }
    _wallClock.start();
}

void TfMain::WallClockHalt()
{
    if (_wallClock.isValid())
        _wallMs += _wallClock.elapsed();
    _wallClock.invalidate();
}

void TfMain::ShowWallTime()
{
    lStatusTime->setText(tr("Время: %1 сек.").arg(QString::number(double(_wallMs) / 1000.0, 'f', 3)));
}

void TfMain::ShowSteps(quint64 steps)
{
    lStatusSteps->setText(tr("Шагов: %1").arg(steps));
}

void TfMain::MarkCoreError(std::int32_t errorLine, std::int32_t errorPos)
{
    // The box names no place for unpaired brackets; the mark shows the culprit.
    const std::vector<std::u16string> lines = SourceLines();
    // The place in the running program, where it now stands in the editor: no
    // mark where that line was edited since the start. Unpaired brackets have
    // no place in it; the mark shows the culprit in the editor's text.
    const std::optional<std::int32_t> edited = errorPos == 0 ? errorLine : _debugger->EditedLine(errorLine);
    if (!edited)
        return;
    if (const auto place = FaultPlace(lines, *edited, errorPos))
        mEditor->SetErrorMark(place->line, place->column);
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

    auto* file = AddMenu("nFileItem", tr("&Файл"));
    AddItem(file, "nNewItem", tr("&Создать"), QKeySequence(Qt::CTRL | Qt::Key_N),
            &TfMain::nNewItemClick, nullptr);
    AddItem(file, "nOpenItem", tr("&Открыть..."), QKeySequence(Qt::CTRL | Qt::Key_O),
            &TfMain::nOpenItemClick, nullptr);
    AddItem(file, "nSaveItem", tr("Со&хранить"), QKeySequence(Qt::CTRL | Qt::Key_S),
            &TfMain::nSaveItemClick, nullptr);
    AddItem(file, "nSaveAsItem", tr("Сохранить &как..."),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &TfMain::nSaveAsItemClick, nullptr);
    AddSeparator(file, "nSeparator1");
    AddItem(file, "nPageItem", tr("Пара&метры страницы..."), none,
            &TfMain::nPageItemClick, nullptr);
    AddItem(file, "nPrintItem", tr("&Печать"), QKeySequence(Qt::CTRL | Qt::Key_P),
            &TfMain::nPrintItemClick, nullptr);
    AddSeparator(file, "nSeparator2");
    // Recent files stand before Exit, as in every desktop's File menu.
    auto* recent = new TRecentFilesMenu(file);
    file->addMenu(recent);
    connect(recent, &TRecentFilesMenu::Chosen, this, &TfMain::nRecentItemClick);
    AddSeparator(file, "nRecentSeparator");
    AddItem(file, "nExitItem", tr("&Выход"), QKeySequence(Qt::ALT | Qt::Key_F4),
            &TfMain::nExitItemClick, nullptr);

    const THandler edit = &TfMain::nEditItemClick;
    auto* editMenu = AddMenu("nEditItem", tr("&Правка"));
    nUndoItem = AddItem(editMenu, "nUndoItem", tr("&Отменить"),
                        QKeySequence(Qt::CTRL | Qt::Key_Z), &TfMain::nUndoItemClick, edit);
    nUndoItem->setEnabled(false);
    AddSeparator(editMenu, "nSeparator3");
    nCutItem = AddItem(editMenu, "nCutItem", tr("Вы&резить"),
                       QKeySequence(Qt::CTRL | Qt::Key_X), &TfMain::nCutItemClick, edit);
    nCopyItem = AddItem(editMenu, "nCopyItem", tr("&Копировать"),
                        QKeySequence(Qt::CTRL | Qt::Key_C), &TfMain::nCopyItemClick, edit);
    nPasteItem = AddItem(editMenu, "nPasteItem", tr("&Вставить"),
                         QKeySequence(Qt::CTRL | Qt::Key_V), &TfMain::nPasteItemClick, edit);
    AddSeparator(editMenu, "nSeparator4");
    AddItem(editMenu, "nSelectAllItem", tr("Вы&делить все"),
            QKeySequence(Qt::CTRL | Qt::Key_A), &TfMain::nSelectAllItemClick, edit);
    AddItem(editMenu, "nDeleteItem", tr("&Удалить"), none, &TfMain::nDeleteItemClick,
            edit);
    AddSeparator(editMenu, "nSeparator5");
    AddItem(editMenu, "nSearchItem", tr("&Поиск"), QKeySequence(Qt::CTRL | Qt::Key_F),
            &TfMain::nSearchItemClick, edit);
    connect(editMenu, &QMenu::aboutToShow, this, &TfMain::nEditItemClick);

    const THandler project = &TfMain::nProjectItemClick;
    auto* projectMenu = AddMenu("nProjectItem", tr("П&роект"));
    nRunItem = AddItem(projectMenu, "nRunItem", tr("&Выполнить"),
                       QKeySequence(Qt::Key_F9), &TfMain::bBigRunClick, project);
    nPauseItem = AddItem(projectMenu, "nPauseItem", tr("&Приостановить"), none,
                         &TfMain::bBigPauseClick, project);
    nStopItem = AddItem(projectMenu, "nStopItem", tr("Пр&ервать"),
                        QKeySequence(Qt::CTRL | Qt::Key_F2), &TfMain::bBigStopClick, project);
    BuildDebugMenus(projectMenu);
    BuildFocusItems(findChild<QMenu*>(QStringLiteral("nViewItem")));
    BuildPaceMenus(findChild<QMenu*>(QStringLiteral("nViewItem")));
    connect(projectMenu, &QMenu::aboutToShow, this, &TfMain::nProjectItemClick);

    auto* tools = AddMenu("nToolsItem", tr("&Инструменты"));
    AddItem(tools, "nSettingsItem", tr("&Параметры"), none, nullptr, nullptr)
        ->setEnabled(false);
    tools->menuAction()->setVisible(false);

    auto* help = AddMenu("nHelpItem", tr("&Справка"));
    AddItem(help, "nAboutItem", tr("&О программе..."),
            QKeySequence(Qt::SHIFT | Qt::Key_F1), &TfMain::nAboutItemClick, nullptr);
    AddSeparator(help, "nSeparator6");
    AddItem(help, "nWikiItem", tr("&Вызов справки"), QKeySequence(Qt::Key_F1),
            &TfMain::nWikiItemClick, nullptr)
        ->setVisible(false);
    AddItem(help, "nWebItem", tr("&Сайт программы"), none, &TfMain::nWebItemClick,
            nullptr);
    AddItem(help, "nGuideItem", tr("Описание &языка"), none, &TfMain::nGuideItemClick,
            nullptr);
    BuildNavigationMenus(editMenu, help);
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
        KeepCompletionInDialog(*dialog);
    }

    dFindDialog = new TFindDialog(this);
    dFindDialog->setObjectName(QStringLiteral("dFindDialog"));
    connect(dFindDialog, &TFindDialog::Find, this, &TfMain::dFindDialogFind);
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
    // The debugger's ways to run follow Run.
    for (auto* item : {nRunUnpacedItem, nStepItem, nRunToCursorItem})
        item->setEnabled(bBigRun->isEnabled());
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

void TfMain::nWebItemClick() { OpenWebPage(this, QString::fromLatin1(kWebSite)); }

void TfMain::nWikiItemClick()
{
    // Without a browser the guide built into the program stands in for the help pages.
    OpenWebPage(this, QString::fromLatin1(kWebSite) + QStringLiteral("/wiki/"),
                tr("Вместо неё откроется описание языка, встроенное в программу."),
                [window = QPointer<TfMain>(this)] {
                    if (window)
                        TfGuide::ShowFor(window);
                });
}

void TfMain::nGuideItemClick() { TfGuide::ShowFor(this); }

void TfMain::nAboutItemClick()
{
    TfAbout about(this);
    about.SetVersion(GetAppVersion());
    about.SetWebSite(QString::fromLatin1(kWebSite));
    about.exec();
}
