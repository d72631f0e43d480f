// Checking while typing: a moment after the last edit the editor's text goes
// through the same preparation and check as a run, and the first problem is
// marked in the editor.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class TCodeEditor;

class TSourceChecker final : public QObject {
    Q_OBJECT
public:
    explicit TSourceChecker(TCodeEditor* editor);

    // Checks the text at once, as the timer does.
    void CheckNow();

signals:
    // "Строка: L, символ: C. Message", counted as the error report counts,
    // or an empty text when the check passes.
    void Checked(const QString& problem);

private:
    TCodeEditor* _editor;
    QTimer _delay;
};
