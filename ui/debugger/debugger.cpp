#include "ui/debugger/debugger.h"

#include <QFileInfo>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>
#include <utility>

#include "core/breakcondition.h"
#include "core/veskcore.h"
#include "formats/errorreport.h"
#include "ui/debugger/breakruledialog.h"
#include "ui/debugger/cellsmodel.h"
#include "ui/debugger/cellspanel.h"
#include "ui/editor/codeeditor.h"
#include "ui/editor/operatorspan.h"
#include "ui/model/runcontroller.h"

namespace {

[[nodiscard]] bool SameRules(const std::vector<TBreakRule>& a, const std::vector<TBreakRule>& b)
{
    const auto same = [](const TBreakRule& x, const TBreakRule& y) {
        if (x.line != y.line || x.hitCount != y.hitCount || x.condition.has_value() != y.condition.has_value())
            return false;
        return !x.condition || (x.condition->cell == y.condition->cell && x.condition->kind == y.condition->kind &&
                                x.condition->operand == y.condition->operand);
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), same);
}

// A stack deeper than this shows its top entries only.
constexpr int kStackRows = 1000;
// Entries of a stack the core can hand out within a few milliseconds.
constexpr std::size_t kLiveStackEntries = 100000;

// An editor line as the column mapping reads it: a line of megabytes is not
// copied once more at every display refresh.
std::u16string_view View(const QString& text)
{
    return {QStringView(text).utf16(), std::size_t(text.size())};
}

} // namespace

TDebugger::TDebugger(TRunController& run, TCodeEditor& editor, TCellsPanel& panel,
                     const TProject& project, QObject* parent)
    : QObject(parent), _run(run), _editor(editor), _panel(panel), _project(project),
      _file(FileKey())
{
    _display.setInterval(1000 / kDisplayRate);
    connect(&_display, &QTimer::timeout, this, &TDebugger::ShowRunKeepingView);
    connect(&_editor, &TCodeEditor::BreakpointsChanged, this, &TDebugger::EditorBreakpointsChanged);
    // A slow pace shows each of its steps; the refreshes above then change nothing.
    connect(&_run, &TRunController::SlowTick, this, &TDebugger::ShowRunKeepingView);
    connect(&_editor, &TCodeEditor::BreakpointRuleRequested, this, &TDebugger::EditBreakpointRule);
    connect(&_run, &TRunController::Started, this, &TDebugger::RunStarted);
    connect(&_run, &TRunController::Paused, this, &TDebugger::RunPaused);
    connect(&_run, &TRunController::Stopped, this, &TDebugger::RunStopped);
    // Before the results window opens: the panel shows the cells the run left.
    connect(&_run, &TRunController::Finished, this, &TDebugger::RunStopped);
    connect(&_run, &TRunController::Cleared, this, &TDebugger::ClearRun);
    connect(&_run, &TRunController::TextCopied, this, &TDebugger::TextCopied);
    // The breakpoints follow an edit soon enough for the next steps, without
    // comparing the texts at every key.
    _remap.setSingleShot(true);
    _remap.setInterval(1000 / kDisplayRate);
    connect(&_remap, &QTimer::timeout, this, [this] {
        RefreshMap();
        if (_run.State() == TRunState::rsPaused)
            ShowRun();
    });
    connect(_editor.document(), &QTextDocument::contentsChange, this, &TDebugger::TextEdited);
    connect(&_project, &TProject::Changed, this, &TDebugger::ProjectChanged);
    // The panel shows what it missed while it was hidden.
    connect(&_panel, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible)
            RefreshCells();
    });
}

// ---- the run -------------------------------------------------------------

void TDebugger::RunStarted()
{
    // A run that has not made a step yet is a fresh one: nothing to compare with.
    if (_run.Core().Step() == 0) {
        _panel.Model().Clear();
        _stackEntries = 0;
        ClearProfile();
    }
    _display.start();
}

void TDebugger::RunPaused()
{
    _display.stop();
    ShowRun();
    _panel.Model().SettleChanges();
    _panel.ShowCurrentCell();
    ShowProfile();
}

void TDebugger::RunStopped()
{
    _display.stop();
    emit Notice(QString());
    _editor.ClearExecutionMark();
    RefreshCells();
    emit StepsShown(_run.Core().Step());
    ShowProfile();
}

void TDebugger::ClearRun()
{
    ClearProfile();
    // Nothing of the old run may stay on show: no cells, no stacks, no place.
    _editor.ClearExecutionMark();
    _panel.Model().Clear();
    _panel.SetStacks({}, {});
    _stackEntries = 0;
    emit StepsShown(_run.Core().Step());
}

void TDebugger::ShowProfile()
{
    const TVeskCore& core = _run.Core();
    if (!core.Profiling() || core.Profile().Total() == 0) {
        ClearProfile();
        return;
    }
    // The run's lines are placed on the editor's: a line edited away since
    // the start has no place to show its steps.
    QList<quint64> counts(_editor.blockCount(), 0);
    const std::vector<std::uint64_t> steps = core.Profile().LineSteps(_startLines.size());
    for (std::size_t line = 0; line < steps.size(); ++line) {
        if (steps[line] == 0)
            continue;
        if (const auto edited = EditedLine(std::int32_t(line)); edited && *edited < counts.size())
            counts[*edited] += steps[line];
    }
    _editor.SetLineCounts(counts);
    emit ProfileShown(counts);
}

void TDebugger::ClearProfile()
{
    if (_editor.LineCounts().isEmpty())
        return;
    _editor.SetLineCounts({});
    emit ProfileShown({});
}

void TDebugger::ShowRun()
{
    emit Notice(QString());
    if (_run.State() == TRunState::rsPaused && !Map().Alike())
        emit Notice(tr("Текст изменён после запуска: выполняется программа, какой она была тогда"));
    ShowNextOperator();
    RefreshCells();
    emit StepsShown(_run.Core().Step());
}

void TDebugger::ShowRunKeepingView()
{
    // While the program runs the user may be reading or typing elsewhere:
    // the mark follows the run, the view stays where the user put it.
    QScrollBar* bars[] = {_editor.horizontalScrollBar(), _editor.verticalScrollBar()};
    const int positions[] = {bars[0]->value(), bars[1]->value()};
    ShowRun();
    bars[0]->setValue(positions[0]);
    bars[1]->setValue(positions[1]);
}

void TDebugger::RefreshCells()
{
    if (_panel.isHidden())
        return;
    const TVeskCore& core = _run.Core();
    _panel.Model().Refresh(core.GetVariables(), core.GetMemory(), core.CurrentCell());

    RefreshStacks();
}

void TDebugger::RefreshStacks()
{
    // The core hands the loop stack out whole. One that has grown huge would
    // take longer than a display refresh may: while the program runs it stays
    // as last shown, and is read again at the next pause.
    const TVeskCore& core = _run.Core();
    if (_run.State() == TRunState::rsRunning && _stackEntries > kLiveStackEntries)
        return;
    const auto astack = core.AddressStackTop(std::size_t(kStackRows));
    const auto cstack = core.LoopStack();
    _stackEntries = cstack.size();
    const auto more = [](QStringList& rows, std::size_t all) {
        if (all > std::size_t(rows.size()))
            rows << tr("… ещё %1").arg(all - std::size_t(rows.size()));
    };

    QStringList addresses;
    for (auto it = astack.rbegin(); it != astack.rend() && addresses.size() < kStackRows; ++it)
        addresses << (it->empty() ? tr("(нет ячейки)")
                                  : QStringLiteral("$") + QString::fromStdU16String(*it));
    more(addresses, core.AddressStackSize());
    QStringList loops;
    // Loops of one line map its columns once: all of them, in a one-line program.
    std::int32_t lineNumber = -1;
    std::optional<std::int32_t> edited;
    for (auto it = cstack.rbegin(); it != cstack.rend() && loops.size() < kStackRows; ++it) {
        if (it->head.line != lineNumber) {
            lineNumber = it->head.line;
            edited = Map().ToEdited(lineNumber);
        }
        QString text = edited ? tr("Строка %1, символ %2: ")
                                    .arg(*edited + 1)
                                    .arg(ColumnsOf(*edited).Map(it->head.column))
                              : tr("Строка удалена или изменена: ");
        text += it->passes < 0 ? tr("бесконечный")
                               : tr("осталось %1").arg(it->passes);
        if (it->count > 1)
            text += QStringLiteral(" (×%1)").arg(it->count);
        loops << text;
    }
    more(loops, cstack.size());
    _panel.SetStacks(addresses, loops);
}

void TDebugger::ShowNextOperator()
{
    const TVeskCore& core = _run.Core();
    const TVeskCore::TCodePos next = core.NextPosition();
    const auto& program = core.ProgramCode();
    if (next.line < 0 || std::size_t(next.line) >= program.size()) {
        _editor.ClearExecutionMark();
        return;
    }
    const std::optional<std::int32_t> edited = Map().ToEdited(next.line);
    if (!edited) {
        // No mark at all rather than one on another operator.
        _editor.ClearExecutionMark();
        emit Notice(tr("Строка, которая выполняется, удалена или изменена после запуска"));
        return;
    }
    const TOperatorSpan span = EditorSpan(program[std::size_t(next.line)], ColumnsOf(*edited), next.column);
    _editor.SetExecutionMark(*edited, span.column, span.length);
}

const TColumnMap& TDebugger::ColumnsOf(int line)
{
    const int revision = _editor.document()->revision();
    if (line != _columnsLine || revision != _columnsRevision) {
        _columns = TColumnMap(View(EditorLine(line)));
        _columnsLine = line;
        _columnsRevision = revision;
    }
    return _columns;
}

QString TDebugger::EditorLine(int line) const
{
    const QTextBlock block = _editor.document()->findBlockByNumber(line);
    return block.isValid() ? block.text() : QString();
}

// ---- breakpoints ---------------------------------------------------------

QString TDebugger::FileKey() const
{
    // A file named on the command line and the same file chosen in the open
    // dialog are one file.
    return _project.Untitled() ? QString() : QFileInfo(_project.Path()).absoluteFilePath();
}

int TDebugger::CaretLine() const { return _editor.textCursor().blockNumber(); }

void TDebugger::ToggleBreakpointAtCaret() { _editor.ToggleBreakpoint(CaretLine()); }

void TDebugger::RunToCaret()
{
    // A fresh start copies the text as it is: the caret's line is its line.
    const bool fresh = _run.State() == TRunState::rsIdle;
    const std::optional<std::int32_t> line = fresh ? CaretLine() : Map().ToRunning(CaretLine());
    if (!line) {
        emit Notice(tr("Строки курсора нет в выполняемой программе: она изменена после запуска"));
        return;
    }
    _run.RunToLine(*line);
}

std::optional<std::int32_t> TDebugger::EditedLine(std::int32_t runningLine)
{
    return Map().ToEdited(runningLine);
}

// ---- the running text against the edited one ------------------------------

void TDebugger::TextCopied(const QString& text)
{
    _startLines.clear();
    for (QStringView line : QStringView(text).tokenize(u'\n'))
        _startLines.push_back(qHash(line));
    _map = {};
    _mapStale = false;
    _mapRevision = _editor.document()->revision();
    _remap.stop();
    SendBreakpoints();
}

void TDebugger::TextEdited()
{
    _mapStale = true;
    if (_run.Active())
        _remap.start();
}

const TLineMap& TDebugger::Map()
{
    RefreshMap();
    return _map;
}

void TDebugger::RefreshMap()
{
    // The editor may report moved breakpoints before the edit's own signal
    // marks the map stale: the document's revision tells either way.
    if ((_mapStale || _mapRevision != _editor.document()->revision()) && !_startLines.empty()) {
        const QTextDocument& document = *_editor.document();
        _mapRevision = document.revision();
        _map = TLineMap::Compare(std::int32_t(_startLines.size()), document.blockCount(),
                                 [&](std::int32_t running, std::int32_t edited) {
                                     const QTextBlock block = document.findBlockByNumber(edited);
                                     return _startLines[std::size_t(running)] == qHash(block.text());
                                 });
        _mapStale = false;
        SendBreakpoints();
    }
}

void TDebugger::SendBreakpoints()
{
    // A breakpoint stops where its marker stands: on the running program's
    // line that the marked line still is. A marker on a line typed or changed
    // since the start has no line there.
    std::vector<std::int32_t> lines;
    for (const int line : _editor.Breakpoints()) {
        if (const auto running = _map.ToRunning(line))
            lines.push_back(*running);
    }
    _run.Core().SetBreakpoints(std::move(lines));
    // Conditions and counts go the same way; the dialog let only valid texts through.
    std::vector<TBreakRule> rules;
    for (const TCodeEditor::TBreakpointRule& rule : _editor.BreakpointRules()) {
        const auto running = _map.ToRunning(rule.line);
        if (!running)
            continue;
        TBreakRule sent;
        sent.line = *running;
        if (!rule.condition.isEmpty())
            sent.condition = TBreakCondition::Parse(rule.condition.toStdU16String());
        sent.hitCount = rule.hitCount;
        rules.push_back(std::move(sent));
    }
    // New rules count their hits from zero: rules that are the same keep
    // theirs, so an edit or another breakpoint does not restart a count.
    if (!SameRules(rules, _run.Core().BreakRules().Rules()))
        _run.Core().SetBreakRules(std::move(rules));
}

void TDebugger::EditBreakpointRule(int line)
{
    TCodeEditor::TBreakpointRule rule = _editor.BreakpointRuleAt(line);
    if (!AskBreakpointRule(&_editor, rule))
        return;
    _editor.SetBreakpointRule(rule);
}

void TDebugger::EditorBreakpointsChanged()
{
    const QList<int> lines = _editor.Breakpoints();
    RefreshMap();
    SendBreakpoints();
    // While a load replaces the text (undo is off then), the breakpoints it
    // clears are not the file's: they are restored when the load is done.
    if (FileKey() == _file && _editor.document()->isUndoRedoEnabled()) {
        _breakpoints[_file] = lines;
        _rules[_file] = _editor.BreakpointRules();
    }
}

void TDebugger::ProjectChanged(TProject::TChange change)
{
    const QString file = FileKey();
    if (change == TProject::TChange::pcRenamed) {
        // Saved under another name: the breakpoints go along.
        _file = file;
        _breakpoints[_file] = _editor.Breakpoints();
        _rules[_file] = _editor.BreakpointRules();
        return;
    }
    _file = file;
    // Copied first: setting the lines, then each rule, stores the editor's rules again.
    const QList<TCodeEditor::TBreakpointRule> rules = file.isEmpty() ? QList<TCodeEditor::TBreakpointRule>()
                                                                     : _rules.value(file);
    _editor.SetBreakpoints(file.isEmpty() ? QList<int>() : _breakpoints.value(file));
    for (const TCodeEditor::TBreakpointRule& rule : rules)
        _editor.SetBreakpointRule(rule);
    ClearRun();
}
