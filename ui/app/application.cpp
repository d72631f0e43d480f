#include "ui/app/application.h"

#include <QLocale>
#include <QMessageBox>
#include <exception>

#include "ui/app/language.h"

namespace {

QString& ApplicationTitle()
{
    static QString title;
    return title;
}

} // namespace

TVeskApplication::TVeskApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    InstallInterfaceTranslators(*this, ChooseInterfaceLanguage(QLocale::system().uiLanguages()));
}

bool TVeskApplication::RunCommand(const std::function<void()>& command) noexcept
{
    // The command ends here; the window that ran it stays usable. The box opens
    // once the exception is done with, not from inside the handler.
    QString text;
    try {
        command();
        return true;
    } catch (const std::exception& error) {
        text = QString::fromUtf8(error.what());
    } catch (...) {
        text = tr("Неизвестная ошибка.");
    }
    ShowError(text);
    return false;
}

void TVeskApplication::ShowError(const QString& text)
{
    QMessageBox::critical(QApplication::activeWindow(), Title(), text);
}

QString TVeskApplication::Title() { return ApplicationTitle(); }

void TVeskApplication::SetTitle(const QString& title) { ApplicationTitle() = title; }
