// The debugger's controller: it shows where a run stands (the next operator in
// the editor, the cells and the stacks in the panel), at every pause and step
// and at display rate while the program runs, and keeps the breakpoints of
// each file the IDE opened and hands them to the core.
#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

#include "ui/operatorspan.h"

class TCellsPanel;
class TCodeEditor;
class TVeskCore;

class TDebugger final : public QObject {
    Q_OBJECT
public:
    // currentFile gives the path of the project the editor shows.
    TDebugger(TVeskCore& core, TCodeEditor& editor, TCellsPanel& panel,
              std::function<QString()> currentFile, QObject* parent);

    // The core's events, after the window's own handlers.
    void RunStarted();
    void RunPaused();
    void RunStopped();
    // Before the results window opens: the panel shows the cells the run left.
    void RunFinished();

    // The caret's line, 0-based.
    [[nodiscard]] int CaretLine() const;
    void ToggleBreakpointAtCaret();

    // The project's title changed: when it is another file now, that file's
    // breakpoints replace the editor's, unless the text stayed (Save As).
    void ProjectChanged();

    // Display refreshes while a program runs: at most this many a second.
    static constexpr int kDisplayRate = 20;

signals:
    // The run's step count, whenever the run is shown.
    void StepsShown(quint64 steps);

private:
    void ShowRun();
    void ShowRunKeepingView();
    void RefreshCells();
    void RefreshStacks();
    void ShowNextOperator();
    void EditorBreakpointsChanged();
    void TextChanged(int position, int removed, int added);
    [[nodiscard]] QString EditorLine(int line) const;
    // The column mapping of an editor line, kept until the text changes: a
    // display update costs the same whatever the line's length.
    [[nodiscard]] const TColumnMap& ColumnsOf(int line);
    [[nodiscard]] QString FileKey() const;

    TVeskCore& _core;
    TCodeEditor& _editor;
    TCellsPanel& _panel;
    std::function<QString()> _currentFile;
    QTimer _display;
    QString _file;                            // whose breakpoints the editor holds
    QHash<QString, QList<int>> _breakpoints;  // by file, for as long as the IDE runs
    int _characters = 0;                      // of the text before the last change
    std::size_t _stackEntries = 0;            // of the deeper stack when last read
    TColumnMap _columns;
    int _columnsLine = -1;
    int _columnsRevision = -1;                // the document's, when _columns was built
    bool _replaced = false;                   // the last change replaced the whole text
};
