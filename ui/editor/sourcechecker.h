// Checking while typing: a moment after the last edit the editor's text goes
// through the same preparation and check as a run, on a worker thread, and so
// do the operators that fail whenever a run reaches them. Every problem is
// underlined in the editor.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <string>

#include "core/coreerror.h"
#include "ui/editor/codeeditor.h"
#include "ui/model/latestjob.h"

class TSourceChecker final : public QObject {
    Q_OBJECT
public:
    explicit TSourceChecker(TCodeEditor* editor);

    // Starts the check of the text as it is now, as the timer does; Checked
    // follows when it is done, unless an edit comes first.
    void CheckNow();

signals:
    // "Строка: L, символ: C. Message", counted as the error report counts: the
    // problem at the caret, else the one a run would meet first; an empty text
    // when the check passes. After every check, and when the caret moves onto
    // or off a problem.
    void Checked(const QString& problem);

private:
    // The problems of a text as the editor marks them, in reading order, made
    // entirely on the worker: a text can have a problem on every line.
    struct TFound {
        QList<TCodeEditor::TProblemMark> marks;
        qsizetype first = -1; // the one a run meets first: a fault that stops it
                              // before it starts, else the first in reading order
    };
    [[nodiscard]] static TFound FindProblems(const QString& text);
    void Show(TFound found);
    void ShowCaretProblem(bool always);

    QString _first; // the status text when the caret is on no problem
    QString _shown;

    TCodeEditor* _editor;
    QTimer _delay;
    TLatestJob<TFound> _job;
};
