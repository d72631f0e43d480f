// TfMain: opening a project from the recent files.
#include "ui/mainwindow/main.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

#include "ui/app/idesettings.h"

void TfMain::nRecentItemClick(const QString& path)
{
    const QString caption = tr("Открытие проекта");
    if (!QFileInfo::exists(path)) {
        const QString question =
            tr("Файл \"%1\" не найден. Убрать его из списка последних файлов?")
                .arg(QDir::toNativeSeparators(path));
        if (Ask(caption, question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
            TIdeSettings().RemoveRecentFile(path);
        return;
    }
    if (SaveChangesFirst(caption))
        LoadProjectFrom(path);
}
