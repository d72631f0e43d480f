// The program editor: a plain text editor with a gutter of line numbers and
// breakpoint markers, syntax colours, and marks for the next operator and for errors. Marks
// live in extra selections, never in the document, so the undo stack and the
// modified flag see only the user's edits.
#pragma once

#include <QList>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <string>
#include <vector>

class QKeyEvent;
class QMimeData;
class QMouseEvent;
class QPaintEvent;
class QResizeEvent;
class QTextBlock;
class THighlighter;

class TCodeEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TCodeEditor(QWidget* parent = nullptr);

    // The text as typed (no-break spaces included), with "\n" for every line
    // break; and such a text as program lines. U+2028 and U+2029 in the text
    // are characters, as for vesk-run, not breaks.
    [[nodiscard]] QString ProgramText() const;
    [[nodiscard]] static std::vector<std::u16string> ProgramLines(const QString& text);
    // Replaces the whole text ("\n" between lines), U+2028 and U+2029 kept as
    // characters: the document itself would make them line breaks, so it shows
    // a stand-in for each.
    void SetProgramText(const QString& text);

    // Breakpoints: 0-based line indexes, sorted. They stay with their lines
    // as the text is edited; a line that is deleted takes its breakpoint along.
    [[nodiscard]] QList<int> Breakpoints() const;
    void ToggleBreakpoint(int line);
    void SetBreakpoints(const QList<int>& lines);
    // A breakpoint's condition (the language's condition text, empty for none)
    // and hit count (0: every hit). Setting a rule marks the line; an empty
    // condition with no count makes it a plain breakpoint again. Removing the
    // breakpoint forgets its rule.
    struct TBreakpointRule {
        int line = 0;
        QString condition;
        quint32 hitCount = 0;
    };
    [[nodiscard]] QList<TBreakpointRule> BreakpointRules() const;
    [[nodiscard]] TBreakpointRule BreakpointRuleAt(int line) const;
    void SetBreakpointRule(const TBreakpointRule& rule);
    // The gutter's menu asks to edit the rule of this line.
    void RequestBreakpointRule(int line);

    // The next operator: 0-based line and column of the editor's text and the
    // operator's length in characters. Highlighted and scrolled into view; in
    // a line too long to highlight at every step, only its gutter arrow shows.
    void SetExecutionMark(int line, int column, int length);
    void ClearExecutionMark();

    // A source or run-time error position (0-based line and column), marked
    // until the next edit. The caret is left where it is.
    void SetErrorMark(int line, int column);

    // A problem found by checking while typing: 0-based line, the columns it
    // underlines (end excluded), the column a run would report, and its text.
    struct TProblemMark {
        int line = 0;
        int start = 0;
        int end = 0;
        int column = 0;
        QString message;
    };
    // The problems of the last check, in reading order, underlined; replaced
    // by the next check and cleared by an edit. Only those near the shown
    // lines are laid out.
    void SetProblemMarks(QList<TProblemMark> marks);
    void SetProblemMark(int line, int column);
    void ClearProblemMark();
    [[nodiscard]] const QList<TProblemMark>& ProblemMarks() const { return _problems; }
    // The problem under (line, column), the column after its end included; or null.
    [[nodiscard]] const TProblemMark* ProblemAt(int line, int column) const;

    // Puts the caret on the partner of the bracket at the caret, if it has one.
    void JumpToBracketPartner();
    // Puts the caret at the start of the 0-based line and shows it.
    void GoToLine(int line);

    // The steps run on each line (by 0-based line), shown in the gutter beside
    // the line numbers; an empty list shows none.
    void SetLineCounts(QList<quint64> counts);
    [[nodiscard]] const QList<quint64>& LineCounts() const { return _lineCounts; }

    // Width of the gutter in pixels, and its painting; used by the gutter widget.
    [[nodiscard]] int GutterWidth() const;
    void PaintGutter(QPaintEvent* event);
    // A click in the gutter at the viewport's y coordinate toggles that line's breakpoint.
    void GutterClicked(int y);
    // The line at the viewport's y coordinate, -1 below the text.
    [[nodiscard]] int GutterLineAt(int y) const;

signals:
    void BreakpointsChanged();
    void BreakpointRuleRequested(int line);
    // The next operator's line is too long for its mark (true), or no longer is.
    void ExecutionMarkShortened(bool shortened);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    [[nodiscard]] QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // A mark follows its text through edits: the cursor holds its selection.
    struct TMark {
        bool set = false;
        QTextCursor cursor;
    };

    void UpdateGutterWidth();
    void UpdateGutter(const QRect& rect, int dy);
    void ContentsChange(int position, int removed, int added);
    void CheckBreakpointsMoved();
    void CheckLongLines(int position, int added);
    void SetMark(TMark& mark, int line, int column, int length);
    void ApplyMarks();
    void ApplyMarksIfScrolledAway();
    void FindBracketPartner();
    void ScrollToMark(const QTextCursor& cursor);
    void ScrollToLine(const QTextBlock& block);
    void SetExecutionLine(int line, bool shortened);
    void ApplyTabStops();
    // Inserts text at the cursor, U+2028 and U+2029 as stand-ins.
    static void InsertWithSeparators(QTextCursor& cursor, const QString& text);
    // The document's text from..to, stand-ins back as the characters they stand for.
    [[nodiscard]] QString RealText(int from, int to) const;

    QWidget* _gutter = nullptr;
    THighlighter* _highlighter = nullptr;
    QObject* _textControl = nullptr; // the text control whose caret blinks
    int _blockCount = 1;
    bool _hasLongLine = false;       // then the caret does not blink, see eventFilter
    qint64 _doubleClickMs = -1;      // when the last double click came, on a monotonic clock
    QList<int> _lastBreakpoints;     // to tell when an edit moved or removed some
    TMark _execution;
    int _executionLine = -1;         // where the gutter's arrow points
    bool _executionShortened = false;
    TMark _error;
    QList<TProblemMark> _problems; // sorted by line and column
    int _problemsFrom = 0;         // the lines whose problems are laid out
    int _problemsTo = -1;
    int _bracket = -1;             // document positions of the bracket pair at the caret
    int _bracketPartner = -1;
    QList<quint64> _lineCounts;
    int _countDigits = 0;          // of the largest count, 0 when none is shown
};
