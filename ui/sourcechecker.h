// Checking while typing: a moment after the last edit the editor's text goes
// through the same preparation and check as a run, on a worker thread, and the
// first problem is marked in the editor.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <string>

#include "core/bracketmatch.h"
#include "core/coreerror.h"
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
    // "Строка: L, символ: C. Message", counted as the error report counts,
    // or an empty text when the check passes.
    void Checked(const QString& problem);

private:
    // The first problem of a text: where the editor shows it and why.
    struct TProblem {
        bool found = false;
        TTextPlace place;
        TCoreError error;
    };
    [[nodiscard]] static TProblem FindProblem(const QString& text);
    void Show(const TProblem& problem);

    TCodeEditor* _editor;
    QTimer _delay;
    TLatestJob<TProblem> _job;
};
