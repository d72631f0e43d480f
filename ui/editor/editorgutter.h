// The editor's gutter: a strip left of the text that the editor paints with
// line numbers and breakpoint markers; a click in it toggles a breakpoint.
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

private:
    TCodeEditor* _editor;
};
