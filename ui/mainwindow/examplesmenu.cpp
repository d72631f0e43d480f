#include "ui/mainwindow/examplesmenu.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

TExamplesMenu::TExamplesMenu(QWidget* parent) : QMenu(tr("П&римеры"), parent), _folder(InstalledFolder())
{
    setObjectName(QStringLiteral("nExamplesItem"));
    menuAction()->setObjectName(QStringLiteral("nExamplesItemAction"));
    connect(this, &QMenu::aboutToShow, this, &TExamplesMenu::Fill);
    Fill();
}

QString TExamplesMenu::InstalledFolder()
{
    const QDir program(QCoreApplication::applicationDirPath());
    for (const QString& candidate : {QStringLiteral("examples"), QStringLiteral("../share/vesk/examples")}) {
        const QString folder = QDir::cleanPath(program.filePath(candidate));
        if (QFileInfo(folder).isDir())
            return folder;
    }
    return {};
}

void TExamplesMenu::Fill()
{
    clear();
    const QFileInfoList files = _folder.isEmpty()
        ? QFileInfoList()
        : QDir(_folder).entryInfoList({QStringLiteral("*.veskp")}, QDir::Files, QDir::Name);
    for (const QFileInfo& file : files) {
        QAction* entry = addAction(file.completeBaseName());
        const QString path = file.absoluteFilePath();
        connect(entry, &QAction::triggered, this, [this, path] { emit Chosen(path); });
    }
    // Kept in the menu, so the user sees that the samples are missing rather than nothing.
    menuAction()->setEnabled(!files.isEmpty());
}
