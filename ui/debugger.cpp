#include "ui/debugger.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>
#include <utility>

#include "core/veskcore.h"
#include "formats/errorreport.h"
#include "ui/cellsmodel.h"
#include "ui/cellspanel.h"
#include "ui/codeeditor.h"
#include "ui/operatorspan.h"

namespace {

// The main window's name for a project without a file, in the interface language.
QString Untitled() { return QCoreApplication::translate("TfMain", "Безымянный"); }
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

TDebugger::TDebugger(TVeskCore& core, TCodeEditor& editor, TCellsPanel& panel,
                     std::function<QString()> currentFile, QObject* parent)
    : QObject(parent), _core(core), _editor(editor), _panel(panel),
      _currentFile(std::move(currentFile)), _file(FileKey()),
      _characters(editor.document()->characterCount())
{
    _display.setInterval(1000 / kDisplayRate);
    connect(&_display, &QTimer::timeout, this, &TDebugger::ShowRunKeepingView);
    connect(&_editor, &TCodeEditor::BreakpointsChanged, this, &TDebugger::EditorBreakpointsChanged);
    connect(_editor.document(), &QTextDocument::contentsChange, this, &TDebugger::TextChanged);
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
    if (_core.Step() == 0) {
        _panel.Model().Clear();
        _stackEntries = 0;
    }
    _display.start();
}

void TDebugger::RunPaused()
{
    _display.stop();
    ShowRun();
    _panel.Model().SettleChanges();
    _panel.ShowCurrentCell();
}

void TDebugger::RunStopped()
{
    _display.stop();
    _editor.ClearExecutionMark();
    RefreshCells();
    emit StepsShown(_core.Step());
}

void TDebugger::RunFinished() { RunStopped(); }

void TDebugger::ShowRun()
{
    ShowNextOperator();
    RefreshCells();
    emit StepsShown(_core.Step());
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
    _panel.Model().Refresh(_core.GetVariables(), _core.GetMemory(), _core.CurrentCell());

    RefreshStacks();
}

void TDebugger::RefreshStacks()
{
    // The core hands the loop stack out whole. One that has grown huge would
    // take longer than a display refresh may: while the program runs it stays
    // as last shown, and is read again at the next pause.
    if (_display.isActive() && _stackEntries > kLiveStackEntries)
        return;
    const auto astack = _core.AddressStackTop(std::size_t(kStackRows));
    const auto cstack = _core.LoopStack();
    _stackEntries = cstack.size();
    const auto more = [](QStringList& rows, std::size_t all) {
        if (all > std::size_t(rows.size()))
            rows << tr("… ещё %1").arg(all - std::size_t(rows.size()));
    };

    QStringList addresses;
    for (auto it = astack.rbegin(); it != astack.rend() && addresses.size() < kStackRows; ++it)
        addresses << (it->empty() ? tr("(нет ячейки)")
                                  : QStringLiteral("$") + QString::fromStdU16String(*it));
    more(addresses, _core.AddressStackSize());
    QStringList loops;
    for (auto it = cstack.rbegin(); it != cstack.rend() && loops.size() < kStackRows; ++it) {
        QString text = tr("Строка %1, символ %2: ")
                           .arg(it->head.line + 1)
                           .arg(ColumnsOf(it->head.line).Map(it->head.column));
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
    const TVeskCore::TCodePos next = _core.NextPosition();
    // The read-only view: the writing one makes the core check its text again.
    const auto& program = std::as_const(_core).ProgramCode();
    if (next.line < 0 || std::size_t(next.line) >= program.size()) {
        _editor.ClearExecutionMark();
        return;
    }
    const TOperatorSpan span = EditorSpan(program[std::size_t(next.line)], ColumnsOf(next.line), next.column);
    _editor.SetExecutionMark(next.line, span.column, span.length);
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
    const QString file = _currentFile();
    return file == Untitled() ? file : QFileInfo(file).absoluteFilePath();
}

int TDebugger::CaretLine() const { return _editor.textCursor().blockNumber(); }

void TDebugger::ToggleBreakpointAtCaret() { _editor.ToggleBreakpoint(CaretLine()); }

void TDebugger::EditorBreakpointsChanged()
{
    const QList<int> lines = _editor.Breakpoints();
    _core.SetBreakpoints(std::vector<std::int32_t>(lines.begin(), lines.end()));
    // While a load replaces the text (undo is off then), the breakpoints it
    // clears are not the file's: they are restored when the load is done.
    if (FileKey() == _file && _editor.document()->isUndoRedoEnabled())
        _breakpoints[_file] = lines;
}

void TDebugger::TextChanged(int position, int removed, int added)
{
    const int before = _characters;
    _characters = _editor.document()->characterCount();
    // A load replaces the whole text with the undo history off, a new project
    // clears it: if the project's name changes next, it is another file.
    const bool cleared = position == 0 && added == 0 && removed > 0 && removed >= before - 1;
    _replaced = !_editor.document()->isUndoRedoEnabled() || cleared;
}

void TDebugger::ProjectChanged()
{
    const QString file = FileKey();
    const bool replaced = _replaced;
    _replaced = false;
    if (file == _file)
        return;
    if (!replaced) {
        // Saved under another name: the breakpoints go along.
        _file = file;
        _breakpoints[_file] = _editor.Breakpoints();
        return;
    }
    _file = file;
    _editor.SetBreakpoints(file == Untitled() ? QList<int>() : _breakpoints.value(file));
}
