#include "ui/editor/editorgutter.h"

#include <QContextMenuEvent>
#include <QMenu>
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

void TEditorGutter::contextMenuEvent(QContextMenuEvent* event)
{
    const int line = _editor->GutterLineAt(event->pos().y());
    if (line < 0)
        return;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("pGutterMenu"));
    QAction* rule = menu.addAction(tr("Условие точки останова..."));
    rule->setObjectName(QStringLiteral("nBreakConditionItem"));
    if (menu.exec(event->globalPos()) == rule)
        _editor->RequestBreakpointRule(line);
}
