// The IDE's main window: the program editor, the run buttons, the menus and
// every command behind them. The run controller runs the program and the
// project model keeps its file; the window shows what they tell it.
#pragma once

#include <QElapsedTimer>
#include <QIcon>
#include <QMainWindow>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/veskcore.h"
#include "ui/editor/codeeditor.h"
#include "ui/model/project.h"
#include "ui/model/runcontroller.h"
#include "ui/app/style.h"

class QAction;
class QCommandLinkButton;
class TCellsPanel;
class TDebugger;
class TProfileView;
class QFileDialog;
class QLabel;
class QMenu;
class QPrinter;
class TFindDialog;
class TTimeline;
class TTimeTravel;
class TSourceChecker;

class TfMain final : public QMainWindow {
    Q_OBJECT
public:
    // arguments: the command line without the program's own name; the first
    // one, if any, names a project to load.
    explicit TfMain(const QStringList& arguments = {}, QWidget* parent = nullptr);
    ~TfMain() override;

    // The path of the current project, or "Безымянный" in the interface language.
    [[nodiscard]] QString CurrentFile() const { return _project->DisplayName(); }
    // The interpreter, read-only; null once the window has closed.
    [[nodiscard]] const TVeskCore* Core() const { return _run ? &_run->Core() : nullptr; }
    // The run of the program; null once the window has closed.
    [[nodiscard]] TRunController* Run() const { return _run.get(); }
    // The editor's line list: no empty last line after a final break.
    [[nodiscard]] QStringList EditorLines() const;

    // Project routines: true when done, false when cancelled or failed.
    bool NewProject();
    bool OpenProject();
    bool LoadProject();
    bool SaveProject();   // throws std::runtime_error when the file cannot be written
    bool SaveProjectAs(); // likewise

    // Menu opening handlers: they set the enabled states of their items.
    void nEditItemClick();
    void nProjectItemClick();

    // Commands.
    void nNewItemClick();
    void nOpenItemClick();
    void nSaveItemClick();
    void nSaveAsItemClick();
    void nPageItemClick();
    void nPrintItemClick();
    void nExitItemClick();
    void nUndoItemClick();
    void nCutItemClick();
    void nCopyItemClick();
    void nPasteItemClick();
    void nSelectAllItemClick();
    void nDeleteItemClick();
    void nSearchItemClick();
    void nAboutItemClick();
    void nWikiItemClick();
    void nWebItemClick();
    void nGuideItemClick();
    void nRecentItemClick(const QString& path);
    void nFindNextItemClick();
    void nFindPreviousItemClick();
    void nGoToLineItemClick();
    void nBracketItemClick();
    void nExampleItemClick(const QString& path);
    void bBigRunClick();
    void bBigPauseClick();
    void bBigStopClick();
    // The debugger's commands and the cells panel.
    void nRunUnpacedItemClick();
    void nStepItemClick();
    void nRunToCursorItemClick();
    void nBreakpointItemClick();
    void nCellsItemClick();
    void nProfileItemClick();
    void nProfileViewItemClick();
    // The keyboard's way into the cells panel: it opens if hidden.
    void nCellsFilterItemClick();
    void nAddressStackItemClick();
    void nLoopStackItemClick();
    // Going back in the run.
    void nStepBackItemClick();
    void nRunBackItemClick();
    void nStepBackOverItemClick();
    void nStepBackOutItemClick();
    void nWhereFromItemClick();
    // Changing a cell of the paused run by hand: the selected one, or a new one.
    void nCellValueItemClick();
    void nAddCellItemClick();

    // The find dialog's Find Next.
    void dFindDialogFind();

    // The status bar's run state and step count.
    void ShowRunState(const QString& state);
    void ShowSteps(quint64 steps);
    // The wall time of a run, pauses left out, shown when it finishes.
    void WallClockStart();
    void WallClockHalt();
    void ShowWallTime();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using THandler = void (TfMain::*)();

    struct TShortcutItem {
        QAction* item;
        THandler handler;
        THandler menuHandler; // the handler of the menu that holds the item, or null
    };

    struct TRunButtonIcons {
        QCommandLinkButton* button;
        QIcon normal;
        QIcon hovered;
    };

    void FormCreate(const QStringList& arguments);
    void FormCloseQuery(bool& canClose);
    void FormClose();

    void BuildWindow();
    QWidget* BuildTopPanel();
    QCommandLinkButton* BuildRunButton(const char* name, const QString& caption,
                                       const QString& note, int width, TRunGlyph glyph);
    void BuildEditor();
    void BuildStatusBar();
    void ShowCaretPosition();
    void MarkCoreError(std::int32_t errorLine, std::int32_t errorPos);
    void BuildMenus();
    void BuildDialogs();
    QMenu* AddMenu(const char* name, const QString& caption);
    QAction* AddItem(QMenu* menu, const char* name, const QString& caption,
                     const QKeySequence& shortcut, THandler handler, THandler menuHandler);
    void AddSeparator(QMenu* menu, const char* name);

    [[nodiscard]] const TShortcutItem* ShortcutFor(const QKeyEvent& key) const;
    // Alt+letter and F10 belong to the menu bar; OpenMenuFor opens the menu
    // the key names (F10: the first one).
    [[nodiscard]] static bool MenuKey(const QKeyEvent& key);
    void OpenMenuFor(const QKeyEvent& key);
    void RunShortcut(const TShortcutItem& shortcut);
    bool HoverEvent(QObject* watched, QEvent* event);

    // Project files.
    bool SaveChangesFirst(const QString& caption);
    bool LoadProjectFrom(const QString& path);
    void SetProjectTitle();
    // The project file's error text becomes the command's failure.
    static void Check(const QString& failure);
    [[nodiscard]] QString EditorText() const;
    [[nodiscard]] std::vector<std::u16string> SourceLines() const;
    [[nodiscard]] int Ask(const QString& caption, const QString& text, int buttons);

    // The run's events, from the controller.
    void BindRun();
    void CoreStart();
    void CoreStop();
    void CoreFinish();
    void CorePause();
    void CoreError(std::int32_t errorLine, std::int32_t errorPos, const TCoreError& error);
    // The run buttons as the run's state has them.
    void SetRunControls(TRunState state);

    // The debugger.
    void BuildDebugMenus(QMenu* projectMenu);
    void BuildNavigationMenus(QMenu* editMenu, QMenu* helpMenu);
    // Step over and out, and the watchpoints (main_watch.cpp).
    void BuildWatchMenus(QMenu* projectMenu);
    void nStepOverItemClick();
    void nStepOutItemClick();
    void nWatchItemClick();
    // The cells table's way to it: the dialog opens on the chosen cell.
    void nCellWatchItemClick();
    void AddWatchpoint(const QString& shownAddress);
    void FillWatchList();
    [[nodiscard]] QString WatchHitText(const TWatchHit& hit) const;
    // After a pause: the status names a watchpoint that caused it.
    void ShowPauseCause();
    void BuildCellsPanel();
    // The keyboard's items of the «Вид» menu, after the debugger's.
    void BuildFocusItems(QMenu* viewMenu);
    // The run buttons' tooltips: their command and its key, from the menu.
    void ShowShortcutsInTooltips();
    void FocusCellsPart(QWidget* part);
    void BuildTravelMenus(QMenu* projectMenu);
    void BuildTimeTravel();
    // The pace and the profile (main_pace.cpp).
    void BuildPaceMenus(QMenu* viewMenu);
    void BindPace();
    // The profile panel shows what the gutter shows, if it was ever opened.
    void FillProfileView();
    // A move back leaves the run paused there, as after a pause.
    void TravelPaused();
    // Changing cells by hand (main_celledit.cpp).
    void BuildCellEditActions();
    void EditCellByHand(const QString& address);

    void SearchNotFound(const QString& findText);
    QPrinter& Printer();
    void PrintJob(); // throws std::runtime_error when printing fails

    TProject* _project = nullptr;
    std::unique_ptr<TRunController> _run;
    std::unique_ptr<TDebugger> _debugger; // goes before the run it watches
    std::unique_ptr<TTimeTravel> _travel; // goes before the run and the debugger it drives
    int _sfpos = 0;

    TCodeEditor* mEditor = nullptr;
    TSourceChecker* _checker = nullptr;
    QLabel* lStatusPosition = nullptr;
    QLabel* lStatusState = nullptr;
    QLabel* lStatusSteps = nullptr;
    QLabel* lStatusTime = nullptr;
    QElapsedTimer _wallClock;
    qint64 _wallMs = 0;
    QLabel* lStatusMark = nullptr;
    QLabel* lStatusCheck = nullptr;
    QLabel* lStatusNotice = nullptr; // what the screen cannot show of an edited run
    QCommandLinkButton* bBigRun = nullptr;
    QCommandLinkButton* bBigPause = nullptr;
    QCommandLinkButton* bBigStop = nullptr;
    std::vector<TRunButtonIcons> iTopImages;

    QAction* nUndoItem = nullptr;
    QAction* nCutItem = nullptr;
    QAction* nCopyItem = nullptr;
    QAction* nPasteItem = nullptr;
    QAction* nRunItem = nullptr;
    QAction* nPauseItem = nullptr;
    QAction* nStopItem = nullptr;
    QAction* nRunUnpacedItem = nullptr;
    QAction* nStepItem = nullptr;
    QMenu* nWatchListMenu = nullptr;
    QAction* nRunToCursorItem = nullptr;
    QAction* nCellsItem = nullptr;
    TCellsPanel* pCellsPanel = nullptr;
    QAction* nProfileItem = nullptr;
    TProfileView* pProfileView = nullptr;
    TTimeline* sTimeline = nullptr;
    bool _cellsPanelShown = false; // opened once: from then on it keeps the user's width
    std::vector<TShortcutItem> _shortcuts;

    QFileDialog* dSaveDialog = nullptr;
    QFileDialog* dOpenDialog = nullptr;
    TFindDialog* dFindDialog = nullptr;
    std::unique_ptr<QPrinter> _printer; // made on first use: asking for printers is slow
};
