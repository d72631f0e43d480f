// The program editor: a plain text editor with a gutter of line numbers and
// breakpoint markers, and marks for the next operator and for errors. Marks
// live in extra selections, never in the document, so the undo stack and the
// modified flag see only the user's edits.
#pragma once

#include <QList>
#include <QPlainTextEdit>
#include <QTextEdit>

class QPaintEvent;
class QResizeEvent;

class TCodeEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TCodeEditor(QWidget* parent = nullptr);

    // Breakpoints: 0-based line indexes, sorted. They stay with their lines
    // as the text is edited; a line that is deleted takes its breakpoint along.
    [[nodiscard]] QList<int> Breakpoints() const;
    void ToggleBreakpoint(int line);
    void SetBreakpoints(const QList<int>& lines);

    // The next operator: 0-based line and column of the editor's text and the
    // operator's length in characters. Highlighted and scrolled into view.
    void SetExecutionMark(int line, int column, int length);
    void ClearExecutionMark();

    // A source or run-time error position (0-based line and column), marked
    // until the next edit. The caret is left where it is.
    void SetErrorMark(int line, int column);
    void ClearErrorMark();

    // The problem found by checking while typing (0-based line and column);
    // it is replaced by the next check and cleared by an edit.
    void SetProblemMark(int line, int column);
    void ClearProblemMark();

    // Width of the gutter in pixels, and its painting; used by the gutter widget.
    [[nodiscard]] int GutterWidth() const;
    void PaintGutter(QPaintEvent* event);
    // A click in the gutter at the viewport's y coordinate toggles that line's breakpoint.
    void GutterClicked(int y);

signals:
    void BreakpointsChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct TMark {
        bool set = false;
        int line = 0;
        int column = 0;
        int length = 1;
    };

    void UpdateGutterWidth();
    void UpdateGutter(const QRect& rect, int dy);
    void ContentsChange(int position, int removed, int added);
    void SetBreakpointState(int line, bool on);
    void ApplyMarks();
    [[nodiscard]] QTextEdit::ExtraSelection MarkSelection(const TMark& mark,
                                                          const QColor& background,
                                                          const QColor& underline) const;
    void ApplyTabStops();

    QWidget* _gutter = nullptr;
    int _gutterDigits = 0;
    QList<int> _lastBreakpoints; // to tell when an edit moved or removed some
    TMark _execution;
    TMark _error;
    TMark _problem;
};
