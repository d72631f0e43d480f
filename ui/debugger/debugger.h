// The debugger's view of the run: it shows where a run stands (the next
// operator in the editor, the cells and the stacks in the panel), at every
// pause and step and at display rate (each step at a slow pace) while the program runs, and keeps the
// breakpoints of each file the IDE opened and hands them to the core.
#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <optional>
#include <vector>

#include "ui/model/project.h"
#include "ui/debugger/textmap.h"

#include "ui/editor/codeeditor.h"
#include "ui/editor/operatorspan.h"

class TCellsPanel;
class TRunController;

class TDebugger final : public QObject {
    Q_OBJECT
public:
    // It follows the run's events; connect to the run after it, so that the
    // view is up to date before the results or an error report open.
    TDebugger(TRunController& run, TCodeEditor& editor, TCellsPanel& panel,
              const TProject& project, QObject* parent);

    // The caret's line, 0-based.
    [[nodiscard]] int CaretLine() const;
    void ToggleBreakpointAtCaret();
    // Runs to the caret's line.
    void RunToCaret();
    // The editor's line for a line of the running program: none when the
    // user deleted or changed it since the run's start.
    [[nodiscard]] std::optional<std::int32_t> EditedLine(std::int32_t runningLine);

    // Display refreshes while a program runs: at most this many a second.
    static constexpr int kDisplayRate = 20;

    // The steps of each line in the gutter, after a run or while paused, when
    // the core counts them; none otherwise.
    void ShowProfile();

    // The paused run was moved to another moment (going back): shown as at a pause.
    void ShowMoment() { RunPaused(); }

signals:
    // The run's step count, whenever the run is shown.
    void StepsShown(quint64 steps);
    // What the screen cannot show of the run since the text was edited, or
    // an empty text.
    void Notice(const QString& text);
    // The profile now on show: steps by editor line, empty when none.
    void ProfileShown(const QList<quint64>& lineSteps);

private:
    void RunStarted();
    void RunPaused();
    void RunStopped();
    // The run is gone (reset, or another text in the editor).
    void ClearRun();
    // Another file now: its breakpoints replace the editor's; saved under
    // another name, the breakpoints go along.
    void ProjectChanged(TProject::TChange change);
    void ShowRun();
    void ShowRunKeepingView();
    void ClearProfile();
    void RefreshCells();
    void RefreshStacks();
    void ShowNextOperator();
    void EditorBreakpointsChanged();
    // The run's lines against the editor's: kept up to date after edits.
    void TextCopied(const QString& text);
    void TextEdited();
    // Compares the texts again when the editor's has changed since; Map reads it so.
    void RefreshMap();
    [[nodiscard]] const TLineMap& Map();
    void SendBreakpoints();
    // The gutter's menu: the condition and hit count of a line's breakpoint.
    void EditBreakpointRule(int line);
    [[nodiscard]] QString EditorLine(int line) const;
    // The column mapping of an editor line, kept until the text changes: a
    // display update costs the same whatever the line's length.
    [[nodiscard]] const TColumnMap& ColumnsOf(int line);
    [[nodiscard]] QString FileKey() const;

    TRunController& _run;
    TCodeEditor& _editor;
    TCellsPanel& _panel;
    const TProject& _project;
    QTimer _display;
    QString _file;                            // whose breakpoints the editor holds
    QHash<QString, QList<int>> _breakpoints;  // by file, for as long as the IDE runs
    QHash<QString, QList<TCodeEditor::TBreakpointRule>> _rules; // their conditions and counts, likewise
    std::size_t _stackEntries = 0;            // of the deeper stack when last read
    TColumnMap _columns;
    int _columnsLine = -1;
    int _columnsRevision = -1;                // the document's, when _columns was built
    std::vector<std::size_t> _startLines;     // hashes of the lines the run started with
    TLineMap _map;                            // those lines against the editor's
    bool _mapStale = false;                   // edited since _map was made
    int _mapRevision = -1;                    // the document's, when _map was made
    QTimer _remap;                            // a moment after an edit during a run
};
