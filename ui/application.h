// The IDE's application object: the one place where an error that escaped a
// command (a failed save or print) is shown to the user.
#pragma once

#include <QApplication>

class TVeskApplication final : public QApplication {
    Q_OBJECT
public:
    TVeskApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The error box, captioned with the application title; public for the tests.
    static void ShowError(const QString& text);

    // The application title. Kept apart from Qt's display name, which the X11
    // platform would append to the caption of every other window and box.
    [[nodiscard]] static QString Title();
    static void SetTitle(const QString& title);
};
