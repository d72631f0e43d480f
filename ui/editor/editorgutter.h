// The editor's gutter: a strip left of the text that the editor paints with
// line numbers and breakpoint markers; a click in it toggles a breakpoint, its
// context menu edits a breakpoint's condition and hit count.
#pragma once

#include <QWidget>

class TCodeEditor;

class TEditorGutter final : public QWidget {
    Q_OBJECT
public:
    explicit TEditorGutter(TCodeEditor* editor);

    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    TCodeEditor* _editor;
};
