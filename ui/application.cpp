#include "application.h"

#include <QLocale>
#include <QMessageBox>
#include <exception>

#include "ui/language.h"

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

bool TVeskApplication::notify(QObject* receiver, QEvent* event)
{
    // The command ends here; the window that ran it stays usable.
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowError(tr("Неизвестная ошибка."));
    }
    return false;
}

void TVeskApplication::ShowError(const QString& text)
{
    QMessageBox::critical(QApplication::activeWindow(), Title(), text);
}

QString TVeskApplication::Title() { return ApplicationTitle(); }

void TVeskApplication::SetTitle(const QString& title) { ApplicationTitle() = title; }
