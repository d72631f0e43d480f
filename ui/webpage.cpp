#include "webpage.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

#include "ui/application.h"

bool OpenWebPage(QWidget* parent, const QString& address, const QString& note)
{
    if (QDesktopServices::openUrl(QUrl(address)))
        return true;
    QString text =
        QCoreApplication::translate("OpenWebPage", "Не удалось открыть в браузере страницу %1.")
            .arg(address);
    if (!note.isEmpty())
        text += u'\n' + note;
    QMessageBox box(QMessageBox::Warning, TVeskApplication::Title(), text, QMessageBox::Ok, parent);
    box.exec();
    return false;
}
