// The IDE's application object: the application title and the general error
// handler, which shows the user a command's failure (a failed save or print).
#pragma once

#include <QApplication>
#include <functional>

class TVeskApplication final : public QApplication {
    Q_OBJECT
public:
    TVeskApplication(int& argc, char** argv);

    // The general error handler: the error box, captioned with the application title.
    static void ShowError(const QString& text);

    // Runs a command and catches what it throws right there, handing the text to
    // ShowError: no exception may cross Qt's event dispatch. True when the
    // command ran through, false when it failed.
    static bool RunCommand(const std::function<void()>& command) noexcept;

    // The application title. Kept apart from Qt's display name, which the X11
    // platform would append to the caption of every other window and box.
    [[nodiscard]] static QString Title();
    static void SetTitle(const QString& title);
};
