#include "application.h"

#include <QMessageBox>
#include <exception>

TVeskApplication::TVeskApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TVeskApplication::notify(QObject* receiver, QEvent* event)
{
    // The command ends here; the window that ran it stays usable.
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowError(QStringLiteral("Неизвестная ошибка."));
    }
    return false;
}

void TVeskApplication::ShowError(const QString& text)
{
    QMessageBox::critical(QApplication::activeWindow(), QGuiApplication::applicationDisplayName(),
                          text);
}
