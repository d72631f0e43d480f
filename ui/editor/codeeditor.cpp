#include "ui/editor/codeeditor.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPaintEvent>
#include <QHelpEvent>
#include <QScrollBar>
#include <QToolTip>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>
#include <chrono>

#include "formats/projectfile.h"
#include "ui/editor/bracketpartner.h"
#include "ui/editor/editorgutter.h"
#include "ui/editor/highlighter.h"
#include "ui/app/style.h"

namespace {

// Tab stops as in the printout: every eight characters.
constexpr int kTabStopCharacters = 8;
// From this length on a line is costly to draw, and every caret blink would
// draw it whole; such a document gets a steady caret instead.
constexpr int kLongLine = 50000;
// A double click arms the text control's triple-click timer; its timer events
// must get through for that long.
constexpr qint64 kDoubleClickWindowMs = 2000;

// U+2028 and U+2029 are characters of the program, yet a text document always
// breaks the line there. The document holds a visible stand-in instead, marked
// with the character it stands for.
constexpr QChar kLineStandIn(0x2424);      // ␤
constexpr QChar kParagraphStandIn(0x00B6); // ¶
constexpr int kSeparatorProperty = QTextFormat::UserProperty + 0x2028;

class TLineData final : public QTextBlockUserData {
public:
    bool breakpoint = false;
    QString condition;
    quint32 hitCount = 0;
    [[nodiscard]] bool HasRule() const { return !condition.isEmpty() || hitCount > 0; }
};

[[nodiscard]] bool HasBreakpoint(const QTextBlock& block)
{
    const auto* data = static_cast<const TLineData*>(block.userData());
    return data != nullptr && data->breakpoint;
}

void SetBreakpointOn(QTextBlock block, bool on)
{
    auto* data = static_cast<TLineData*>(block.userData());
    if (data == nullptr) {
        if (!on)
            return;
        data = new TLineData;
        block.setUserData(data); // the block owns it
    }
    data->breakpoint = on;
    if (!on) {
        data->condition.clear();
        data->hitCount = 0;
    }
}

[[nodiscard]] bool HasBreakpointRule(const QTextBlock& block)
{
    const auto* data = static_cast<const TLineData*>(block.userData());
    return data != nullptr && data->breakpoint && data->HasRule();
}

[[nodiscard]] qint64 NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

[[nodiscard]] QTextEdit::ExtraSelection LineSelection(const QTextCursor& at, const QColor& colour)
{
    QTextEdit::ExtraSelection selection;
    selection.cursor = at;
    selection.cursor.clearSelection();
    selection.format.setBackground(colour);
    selection.format.setProperty(QTextFormat::FullWidthSelection, true);
    return selection;
}

[[nodiscard]] QTextEdit::ExtraSelection TextSelection(const QTextCursor& at, const QColor& colour)
{
    QTextEdit::ExtraSelection selection;
    selection.cursor = at;
    selection.format.setBackground(colour);
    return selection;
}

} // namespace

TCodeEditor::TCodeEditor(QWidget* parent) : QPlainTextEdit(parent)
{
    _gutter = new TEditorGutter(this);
    _highlighter = new THighlighter(document());
    // The caret blinks through the text control's timer; see eventFilter.
    for (QObject* child : children()) {
        if (child->inherits("QWidgetTextControl")) {
            _textControl = child;
            child->installEventFilter(this);
        }
    }
    connect(this, &QPlainTextEdit::blockCountChanged, this, &TCodeEditor::UpdateGutterWidth);
    connect(this, &QPlainTextEdit::updateRequest, this, &TCodeEditor::UpdateGutter);
    connect(document(), &QTextDocument::contentsChange, this, &TCodeEditor::ContentsChange);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &TCodeEditor::FindBracketPartner);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TCodeEditor::ApplyMarksIfScrolledAway);
    ApplyTabStops();
    UpdateGutterWidth();
}

QString TCodeEditor::ProgramText() const { return RealText(0, document()->characterCount() - 1); }

QString TCodeEditor::RealText(int from, int to) const
{
    QString text = document()->toRawText().mid(from, to - from);
    // Block ends, and the soft breaks Qt itself may have put in, are line breaks.
    bool standIns = false;
    for (QChar& c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
        standIns = standIns || c == kLineStandIn || c == kParagraphStandIn;
    }
    if (!standIns)
        return text;
    // Only a stand-in that carries its mark is one: the same glyph typed is itself.
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int code = fragment.charFormat().intProperty(kSeparatorProperty);
            if (code == 0)
                continue;
            const int start = std::max(fragment.position(), from);
            const int end = std::min(fragment.position() + fragment.length(), to);
            for (int i = start; i < end; ++i) {
                QChar& c = text[i - from];
                if (c == kLineStandIn || c == kParagraphStandIn)
                    c = QChar(code);
            }
        }
    }
    return text;
}

void TCodeEditor::SetProgramText(const QString& text)
{
    if (!text.contains(QChar::LineSeparator) && !text.contains(QChar::ParagraphSeparator)) {
        setPlainText(text);
        return;
    }
    setPlainText(QString());
    // Built without undo steps: the text is new, as after setPlainText.
    document()->setUndoRedoEnabled(false);
    QTextCursor cursor(document());
    InsertWithSeparators(cursor, text);
    document()->setUndoRedoEnabled(true);
    setTextCursor(QTextCursor(document()));
}

void TCodeEditor::InsertWithSeparators(QTextCursor& cursor, const QString& text)
{
    QTextCharFormat plain = cursor.charFormat();
    plain.clearProperty(kSeparatorProperty);
    cursor.beginEditBlock();
    qsizetype done = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool separator = i < text.size() && (text[i] == QChar::LineSeparator
                                                   || text[i] == QChar::ParagraphSeparator);
        if (!separator && i < text.size())
            continue;
        if (i > done)
            cursor.insertText(text.mid(done, i - done), plain);
        if (separator) {
            QTextCharFormat marked = plain;
            marked.setProperty(kSeparatorProperty, int(text[i].unicode()));
            const QChar standIn = text[i] == QChar::LineSeparator ? kLineStandIn : kParagraphStandIn;
            cursor.insertText(QString(standIn), marked);
        }
        done = i + 1;
    }
    cursor.endEditBlock();
}

void TCodeEditor::keyPressEvent(QKeyEvent* event)
{
    // Shift+Enter would put a U+2028 in the document; a line break is what is meant.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & Qt::ShiftModifier)) {
        QTextCursor cursor = textCursor();
        cursor.insertBlock();
        setTextCursor(cursor);
        ensureCursorVisible();
        return;
    }
    // Typed after a stand-in, a character must not take over its mark.
    if (textCursor().charFormat().hasProperty(kSeparatorProperty)) {
        QTextCharFormat plain = textCursor().charFormat();
        plain.clearProperty(kSeparatorProperty);
        setCurrentCharFormat(plain);
    }
    QPlainTextEdit::keyPressEvent(event);
}

QMimeData* TCodeEditor::createMimeDataFromSelection() const
{
    const QTextCursor cursor = textCursor();
    auto* data = new QMimeData;
    data->setText(RealText(cursor.selectionStart(), cursor.selectionEnd()));
    return data;
}

void TCodeEditor::insertFromMimeData(const QMimeData* source)
{
    if (!source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QTextCursor cursor = textCursor();
    InsertWithSeparators(cursor, source->text());
    setTextCursor(cursor);
    ensureCursorVisible();
}

std::vector<std::u16string> TCodeEditor::ProgramLines(const QString& text)
{
    // Split straight from the text: a big program is not copied once more.
    return SplitEditorLines(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                std::size_t(text.size())));
}

// ---- breakpoints -----------------------------------------------------------

QList<int> TCodeEditor::Breakpoints() const
{
    QList<int> lines;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (HasBreakpoint(block))
            lines.append(block.blockNumber());
    }
    return lines;
}

void TCodeEditor::ToggleBreakpoint(int line)
{
    const QTextBlock block = document()->findBlockByNumber(line);
    if (!block.isValid())
        return;
    SetBreakpointOn(block, !HasBreakpoint(block));
    _lastBreakpoints = Breakpoints();
    _gutter->update();
    emit BreakpointsChanged();
}

QList<TCodeEditor::TBreakpointRule> TCodeEditor::BreakpointRules() const
{
    QList<TBreakpointRule> rules;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (HasBreakpointRule(block))
            rules.append(BreakpointRuleAt(block.blockNumber()));
    }
    return rules;
}

TCodeEditor::TBreakpointRule TCodeEditor::BreakpointRuleAt(int line) const
{
    TBreakpointRule rule;
    rule.line = line;
    const QTextBlock block = document()->findBlockByNumber(line);
    if (HasBreakpointRule(block)) {
        const auto* data = static_cast<const TLineData*>(block.userData());
        rule.condition = data->condition;
        rule.hitCount = data->hitCount;
    }
    return rule;
}

void TCodeEditor::SetBreakpointRule(const TBreakpointRule& rule)
{
    QTextBlock block = document()->findBlockByNumber(rule.line);
    if (!block.isValid())
        return;
    SetBreakpointOn(block, true);
    auto* data = static_cast<TLineData*>(block.userData());
    data->condition = rule.condition.trimmed();
    data->hitCount = rule.hitCount;
    _lastBreakpoints = Breakpoints();
    _gutter->update();
    emit BreakpointsChanged();
}

void TCodeEditor::RequestBreakpointRule(int line)
{
    if (document()->findBlockByNumber(line).isValid())
        emit BreakpointRuleRequested(line);
}

void TCodeEditor::SetBreakpoints(const QList<int>& lines)
{
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        SetBreakpointOn(block, false);
    for (const int line : lines) {
        const QTextBlock block = document()->findBlockByNumber(line);
        if (block.isValid())
            SetBreakpointOn(block, true);
    }
    const QList<int> now = Breakpoints();
    _gutter->update();
    if (now == _lastBreakpoints)
        return;
    _lastBreakpoints = now;
    emit BreakpointsChanged();
}

void TCodeEditor::CheckBreakpointsMoved()
{
    if (_lastBreakpoints.isEmpty())
        return;
    const QList<int> now = Breakpoints();
    if (now == _lastBreakpoints)
        return;
    _lastBreakpoints = now;
    emit BreakpointsChanged();
}

// ---- edits -----------------------------------------------------------------

void TCodeEditor::ContentsChange(int position, int removed, int added)
{
    if (removed == 0 && added == 0)
        return;
    // A line break typed at the start of a marked line pushes the line down:
    // the mark goes with the line's text, not with the new empty line above.
    if (added > 0) {
        const QTextBlock first = document()->findBlock(position);
        const QTextBlock moved = document()->findBlock(position + added);
        if (first.position() == position && moved != first &&
            moved.position() == position + added && HasBreakpoint(first) && !HasBreakpoint(moved)) {
            const TBreakpointRule rule = BreakpointRuleAt(first.blockNumber());
            SetBreakpointOn(first, false);
            SetBreakpointOn(moved, true);
            auto* data = static_cast<TLineData*>(moved.userData());
            data->condition = rule.condition;
            data->hitCount = rule.hitCount;
        }
    }
    const int blocks = document()->blockCount();
    if (blocks != _blockCount || removed > 0)
        CheckBreakpointsMoved();
    _blockCount = blocks;
    CheckLongLines(position, added);
    const bool marked = _error.set || !_problems.isEmpty() || _bracket >= 0;
    _error.set = false;
    _problems.clear();
    // Positions after the edit may no longer hold the pair.
    _bracket = -1;
    _bracketPartner = -1;
    if (marked)
        ApplyMarks();
    FindBracketPartner();
}

void TCodeEditor::CheckLongLines(int position, int added)
{
    QTextBlock block = _hasLongLine ? document()->begin() : document()->findBlock(position);
    const int end = _hasLongLine ? document()->characterCount() : position + added;
    bool found = false;
    // Positions are summed: asking each block for its own is a tree walk.
    for (int at = block.position(); block.isValid() && at <= end; block = block.next()) {
        if (block.length() > kLongLine) {
            // Shaped once and kept: else every caret position asked for
            // shapes the whole line again.
            block.layout()->setCacheEnabled(true);
            found = true;
        }
        at += block.length();
    }
    _hasLongLine = found;
}

bool TCodeEditor::eventFilter(QObject* watched, QEvent* event)
{
    // Every blink redraws the caret's line whole; on a line of megabytes that
    // keeps a core busy, so there the caret stays on instead of blinking.
    if (watched == _textControl && event->type() == QEvent::Timer && _hasLongLine &&
        NowMs() - _doubleClickMs > kDoubleClickWindowMs)
        return true;
    return QPlainTextEdit::eventFilter(watched, event);
}

void TCodeEditor::mouseDoubleClickEvent(QMouseEvent* event)
{
    _doubleClickMs = NowMs();
    QPlainTextEdit::mouseDoubleClickEvent(event);
}

// ---- marks -----------------------------------------------------------------

void TCodeEditor::SetMark(TMark& mark, int line, int column, int length)
{
    const QTextBlock block = document()->findBlockByNumber(line);
    mark.set = block.isValid();
    if (!mark.set)
        return;
    const int textLength = block.length() - 1;
    const int start = std::clamp(column, 0, textLength);
    const int end = std::clamp(start + std::max(length, 1), start, textLength);
    mark.cursor = QTextCursor(document());
    mark.cursor.setPosition(block.position() + start);
    mark.cursor.setPosition(block.position() + end, QTextCursor::KeepAnchor);
}

void TCodeEditor::SetExecutionMark(int line, int column, int length)
{
    // Marking inside a long line repaints it whole at every step, which costs
    // with its length: there only the gutter's arrow marks the line.
    const QTextBlock block = document()->findBlockByNumber(line);
    const bool shortened = block.isValid() && block.length() > kLongLine;
    if (shortened) {
        const bool wasMarked = _execution.set;
        _execution.set = false;
        if (wasMarked)
            ApplyMarks();
        ScrollToLine(block);
    } else {
        SetMark(_execution, line, column, length);
        ApplyMarks();
        if (_execution.set)
            ScrollToMark(_execution.cursor);
    }
    SetExecutionLine(block.isValid() ? line : -1, shortened);
}

void TCodeEditor::ClearExecutionMark()
{
    if (!_execution.set && _executionLine < 0)
        return;
    if (_execution.set) {
        _execution.set = false;
        ApplyMarks();
    }
    SetExecutionLine(-1, false);
}

void TCodeEditor::SetExecutionLine(int line, bool shortened)
{
    if (line != _executionLine)
        _gutter->update();
    _executionLine = line;
    if (shortened != _executionShortened) {
        _executionShortened = shortened;
        emit ExecutionMarkShortened(shortened);
    }
}

void TCodeEditor::SetErrorMark(int line, int column)
{
    SetMark(_error, line, column, 1);
    ApplyMarks();
}

void TCodeEditor::SetProblemMarks(QList<TProblemMark> marks)
{
    _problems = std::move(marks);
    ApplyMarks();
}

void TCodeEditor::SetProblemMark(int line, int column)
{
    SetProblemMarks({TProblemMark{line, column, column + 1, column, {}}});
}

void TCodeEditor::ClearProblemMark()
{
    if (_problems.isEmpty())
        return;
    _problems.clear();
    ApplyMarks();
}

const TCodeEditor::TProblemMark* TCodeEditor::ProblemAt(int line, int column) const
{
    auto it = std::lower_bound(_problems.begin(), _problems.end(), line,
                               [](const TProblemMark& mark, int l) { return mark.line < l; });
    for (; it != _problems.end() && it->line == line; ++it) {
        if (column >= it->start && column <= it->end)
            return &*it;
    }
    return nullptr;
}

void TCodeEditor::FindBracketPartner()
{
    const int before = _bracket;
    const int partnerBefore = _bracketPartner;
    _bracket = -1;
    _bracketPartner = -1;
    const QTextCursor caret = textCursor();
    if (!caret.hasSelection()) {
        if (const auto pair = FindBracketPair(*document(), caret.position())) {
            _bracket = pair->at;
            _bracketPartner = pair->partner;
        }
    }
    if (_bracket != before || _bracketPartner != partnerBefore)
        ApplyMarks();
}

void TCodeEditor::JumpToBracketPartner()
{
    if (_bracketPartner < 0)
        return;
    QTextCursor caret = textCursor();
    // The caret keeps its side of the bracket: before an opener, after a closer.
    const bool after = caret.position() > _bracket;
    caret.setPosition(_bracketPartner + (after ? 1 : 0));
    setTextCursor(caret);
    ensureCursorVisible();
}

void TCodeEditor::GoToLine(int line)
{
    const QTextBlock block = document()->findBlockByNumber(line);
    if (!block.isValid())
        return;
    QTextCursor caret(block);
    setTextCursor(caret);
    ScrollToMark(caret);
}

bool TCodeEditor::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QTextCursor at = cursorForPosition(help->pos());
        const TProblemMark* problem = ProblemAt(at.blockNumber(), at.positionInBlock());
        if (problem != nullptr && !problem->message.isEmpty())
            QToolTip::showText(help->globalPos(), problem->message, viewport());
        else
            QToolTip::hideText();
        return true;
    }
    return QPlainTextEdit::viewportEvent(event);
}

void TCodeEditor::ApplyMarksIfScrolledAway()
{
    if (_problems.isEmpty())
        return;
    const int first = firstVisibleBlock().blockNumber();
    const int visible = std::max(1, viewport()->height() / std::max(1, fontMetrics().lineSpacing()));
    if (first < _problemsFrom || first + visible > _problemsTo)
        ApplyMarks();
}

void TCodeEditor::ApplyMarks()
{
    const TMarkColours& c = MarkColours(palette());
    QList<QTextEdit::ExtraSelection> selections;
    if (_error.set) {
        selections.append(LineSelection(_error.cursor, c.errorLine));
        selections.append(TextSelection(_error.cursor, c.errorText));
    }
    if (_execution.set) {
        selections.append(LineSelection(_execution.cursor, c.executionLine));
        selections.append(TextSelection(_execution.cursor, c.executionText));
    }
    if (_bracket >= 0) {
        for (const int at : {_bracket, _bracketPartner}) {
            QTextCursor cursor(document());
            cursor.setPosition(at);
            cursor.setPosition(at + 1, QTextCursor::KeepAnchor);
            selections.append(TextSelection(cursor, c.bracketPair));
        }
    }
    // Every selection is looked at for every line drawn: only the problems
    // within a screen of the shown lines are laid out, again after a scroll.
    const int first = firstVisibleBlock().blockNumber();
    const int visible = std::max(1, viewport()->height() / std::max(1, fontMetrics().lineSpacing()));
    _problemsFrom = std::max(0, first - visible);
    _problemsTo = first + 2 * visible;
    auto it = std::lower_bound(_problems.begin(), _problems.end(), _problemsFrom,
                               [](const TProblemMark& mark, int l) { return mark.line < l; });
    for (; it != _problems.end() && it->line <= _problemsTo; ++it) {
        TMark mark;
        SetMark(mark, it->line, it->start, it->end - it->start);
        if (!mark.set)
            continue;
        QTextEdit::ExtraSelection problem = TextSelection(mark.cursor, c.errorText);
        problem.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        problem.format.setUnderlineColor(c.problemUnderline);
        if (!mark.cursor.hasSelection())
            problem = LineSelection(mark.cursor, c.errorLine);
        selections.append(problem);
    }
    setExtraSelections(selections);
}

void TCodeEditor::ScrollToMark(const QTextCursor& cursor)
{
    const QTextBlock block = cursor.block();
    ScrollToLine(block);
    QTextLayout* layout = block.layout();
    if (layout->lineCount() == 0)
        document()->documentLayout()->blockBoundingRect(block); // lays the line out
    if (layout->lineCount() == 0)
        return;
    const QTextLine textLine = layout->lineAt(0);
    const int left = qRound(textLine.cursorToX(cursor.selectionStart() - block.position()));
    const int right = qRound(textLine.cursorToX(cursor.selectionEnd() - block.position()));
    QScrollBar* horizontal = horizontalScrollBar();
    const int width = viewport()->width();
    if (left < horizontal->value() || right > horizontal->value() + width)
        horizontal->setValue(std::max(0, left - width / 2));
}

void TCodeEditor::ScrollToLine(const QTextBlock& block)
{
    // Lines are counted directly: without wrapping the vertical scroll bar
    // counts lines, and this never lays out the lines in between.
    const int lineHeight = std::max(1, fontMetrics().lineSpacing());
    const int visibleLines = std::max(1, viewport()->height() / lineHeight);
    QScrollBar* vertical = verticalScrollBar();
    const int line = block.blockNumber();
    if (line < vertical->value() || line >= vertical->value() + visibleLines)
        vertical->setValue(std::max(0, line - visibleLines / 2));
}

// ---- gutter and layout -------------------------------------------------------

int TCodeEditor::GutterWidth() const
{
    int digits = 1;
    for (int count = std::max(1, blockCount()); count >= 10; count /= 10)
        ++digits;
    const QFontMetrics metrics(font());
    const int counts = _countDigits > 0 ? metrics.horizontalAdvance(QLatin1Char('9')) * _countDigits + 8 : 0;
    return metrics.lineSpacing() + metrics.horizontalAdvance(QLatin1Char('9')) * digits + 6 + counts;
}

void TCodeEditor::SetLineCounts(QList<quint64> counts)
{
    _lineCounts = std::move(counts);
    const quint64 largest = _lineCounts.isEmpty() ? 0 : *std::max_element(_lineCounts.begin(), _lineCounts.end());
    _countDigits = largest == 0 ? 0 : int(QString::number(largest).size());
    UpdateGutterWidth();
    const QRect area = contentsRect();
    _gutter->setGeometry(area.left(), area.top(), GutterWidth(), area.height());
    _gutter->update();
}

void TCodeEditor::UpdateGutterWidth() { setViewportMargins(GutterWidth(), 0, 0, 0); }

void TCodeEditor::UpdateGutter(const QRect& rect, int dy)
{
    if (dy != 0)
        _gutter->scroll(0, dy);
    else
        _gutter->update(0, rect.y(), _gutter->width(), rect.height());
}

void TCodeEditor::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    _gutter->setGeometry(area.left(), area.top(), GutterWidth(), area.height());
}

void TCodeEditor::paintEvent(QPaintEvent* event)
{
    const int height = viewport()->height();
    QTextBlock block = firstVisibleBlock();
    qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
    for (; block.isValid() && top <= height; block = block.next()) {
        _highlighter->ColourIfDeferred(block);
        top += blockBoundingRect(block).height();
    }
    QPlainTextEdit::paintEvent(event);
}

void TCodeEditor::changeEvent(QEvent* event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        ApplyTabStops();
        UpdateGutterWidth();
        const QRect area = contentsRect();
        _gutter->setGeometry(area.left(), area.top(), GutterWidth(), area.height());
    }
}

void TCodeEditor::ApplyTabStops()
{
    setTabStopDistance(QFontMetricsF(font()).horizontalAdvance(QLatin1Char(' ')) *
                       kTabStopCharacters);
}

void TCodeEditor::PaintGutter(QPaintEvent* event)
{
    const TMarkColours& c = MarkColours(palette());
    QPainter painter(_gutter);
    painter.fillRect(event->rect(), c.gutterBack);
    painter.setFont(font());
    const int marker = fontMetrics().lineSpacing();
    const int numbersRight = _gutter->width() - 4;
    int numberDigits = 1;
    for (int count = std::max(1, blockCount()); count >= 10; count /= 10)
        ++numberDigits;
    const int countsRight = numbersRight - fontMetrics().horizontalAdvance(QLatin1Char('9')) * numberDigits - 8;
    const int executionLine = _executionLine;

    QTextBlock block = firstVisibleBlock();
    qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
    while (block.isValid() && top <= event->rect().bottom()) {
        const qreal bottom = top + blockBoundingRect(block).height();
        if (block.isVisible() && bottom >= event->rect().top()) {
            const QRectF line(0, top, numbersRight, marker);
            painter.setPen(c.gutterText);
            painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                             QString::number(block.blockNumber() + 1));
            if (_countDigits > 0 && block.blockNumber() < _lineCounts.size()
                && _lineCounts[block.blockNumber()] != 0) {
                // The steps stand left of the number, apart from it by a gap.
                const QRectF count(0, top, countsRight, marker);
                painter.drawText(count, Qt::AlignRight | Qt::AlignVCenter,
                                 QString::number(_lineCounts[block.blockNumber()]));
            }
            const QRectF spot(3, top + 3, marker - 6, marker - 6);
            painter.setRenderHint(QPainter::Antialiasing);
            if (HasBreakpoint(block)) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(c.breakpoint);
                painter.drawEllipse(spot);
                // A breakpoint with a condition or a count is a ring.
                if (HasBreakpointRule(block)) {
                    painter.setBrush(c.gutterBack);
                    const qreal inset = spot.width() / 4;
                    painter.drawEllipse(spot.adjusted(inset, inset, -inset, -inset));
                }
            }
            if (block.blockNumber() == executionLine) {
                const QPointF arrow[] = {spot.topLeft(), {spot.right(), spot.center().y()},
                                         spot.bottomLeft()};
                painter.setPen(c.arrowOutline);
                painter.setBrush(c.executionText);
                painter.drawPolygon(arrow, 3);
            }
            painter.setRenderHint(QPainter::Antialiasing, false);
        }
        block = block.next();
        top = bottom;
    }
}

int TCodeEditor::GutterLineAt(int y) const
{
    QTextBlock block = firstVisibleBlock();
    qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
    while (block.isValid() && top <= y) {
        const qreal bottom = top + blockBoundingRect(block).height();
        if (block.isVisible() && y < bottom)
            return block.blockNumber();
        block = block.next();
        top = bottom;
    }
    return -1;
}

void TCodeEditor::GutterClicked(int y)
{
    QTextBlock block = firstVisibleBlock();
    qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
    while (block.isValid() && top <= y) {
        const qreal bottom = top + blockBoundingRect(block).height();
        if (block.isVisible() && y < bottom) {
            ToggleBreakpoint(block.blockNumber());
            return;
        }
        block = block.next();
        top = bottom;
    }
}
