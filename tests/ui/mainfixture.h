// Shared set-up of the main window tests: the application they run in, a shown
// main window, and readable views of its run controls.
#pragma once

#include <QCommandLinkButton>
#include <QPlainTextEdit>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "ui/app/application.h"
#include "ui/app/idesettings.h"
#include "ui/mainwindow/main.h"
#include "ui/app/style.h"

// The tests run in the IDE's own application object, so that its error handler
// is the one that catches what a command lets escape. What the IDE remembers
// goes to a scratch folder, never into the user's settings.
#define VESK_MAIN_WINDOW_TEST(TestClass)                                                    \
    int main(int argc, char** argv)                                                          \
    {                                                                                        \
        QTemporaryDir settings;                                                              \
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));                      \
        TVeskApplication app(argc, argv);                                                    \
        TVeskApplication::SetTitle(QStringLiteral("Vesk"));                                  \
        ApplyApplicationStyle(app);                                                          \
        TestClass test;                                                                      \
        return QTest::qExec(&test, argc, argv);                                              \
    }

inline const QString kStopped = QStringLiteral("+run -pause -stop Выполнить");
inline const QString kRunning = QStringLiteral("-run +pause +stop Продолжить");
inline const QString kPaused = QStringLiteral("+run +pause +stop Продолжить");

template <class T>
T* Child(const QObject& parent, const char* name)
{
    return parent.findChild<T*>(QString::fromLatin1(name));
}

inline QPlainTextEdit* Editor(const TfMain& window) { return Child<QPlainTextEdit>(window, "mEditor"); }

inline QCommandLinkButton* Button(const TfMain& window, const char* name)
{
    return Child<QCommandLinkButton>(window, name);
}

// "+run -pause -stop Выполнить": the enabled states of the three run buttons
// and the Run button's caption.
inline QString RunControls(const TfMain& window)
{
    QString text;
    for (const char* name : {"bBigRun", "bBigPause", "bBigStop"}) {
        const auto* button = Button(window, name);
        text += (button->isEnabled() ? QStringLiteral("+") : QStringLiteral("-")) +
                QString::fromLatin1(name).mid(4).toLower() + QStringLiteral(" ");
    }
    return text + Button(window, "bBigRun")->text();
}

// A window as at the first start: nothing remembered from earlier windows.
inline std::unique_ptr<TfMain> ShowMainWindow(const QStringList& arguments = {})
{
    TIdeSettings().Clear();
    auto window = std::make_unique<TfMain>(arguments);
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("the main window did not become active");
    Editor(*window)->setFocus();
    return window;
}

inline void SetProgram(const TfMain& window, const QString& text)
{
    Editor(window)->setPlainText(text);
}
