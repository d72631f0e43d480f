#include "application.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <exception>

namespace {

QString& ApplicationTitle()
{
    static QString title;
    return title;
}

} // namespace

TVeskApplication::TVeskApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // The interface is Russian on every system, the toolkit's own texts too
    // (message box buttons, file dialogs) where their translation is installed.
    auto* toolkitTexts = new QTranslator(this);
    if (toolkitTexts->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                           QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(toolkitTexts);
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
        text = QStringLiteral("Неизвестная ошибка.");
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
