// Checking while typing: a moment after the last edit the editor's text goes
// through the same preparation and check as a run, on a worker thread, and so
// do the operators that fail whenever a run reaches them. Every problem is
// underlined in the editor.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <string>
#include <vector>

#include "formats/bracketmatch.h"
#include "ui/latestjob.h"

class TCodeEditor;

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
    // A problem of a text: where the editor shows it and why. `start` is the
    // first column of the failing operator, `place` the column a run reports.
    struct TProblem {
        TTextPlace place;
        std::int32_t start = 0;
        std::u16string message;
    };
    // The fault that stops a run before it starts first, if any, then the
    // faults of operators in reading order.
    [[nodiscard]] static std::vector<TProblem> FindProblems(const QString& text);
    void Show(const std::vector<TProblem>& problems);
    void ShowCaretProblem(bool always);

    QString _first; // the status text when the caret is on no problem
    QString _shown;

    TCodeEditor* _editor;
    QTimer _delay;
    TLatestJob<std::vector<TProblem>> _job;
};
