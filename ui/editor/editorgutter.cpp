#include "ui/editor/editorgutter.h"

#include <QMouseEvent>

#include "ui/editor/codeeditor.h"

TEditorGutter::TEditorGutter(TCodeEditor* editor) : QWidget(editor), _editor(editor)
{
    setObjectName(QStringLiteral("pGutter"));
    setCursor(Qt::PointingHandCursor);
}

QSize TEditorGutter::sizeHint() const { return {_editor->GutterWidth(), 0}; }

void TEditorGutter::paintEvent(QPaintEvent* event) { _editor->PaintGutter(event); }

void TEditorGutter::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        _editor->GutterClicked(qRound(event->position().y()));
    event->accept();
}
