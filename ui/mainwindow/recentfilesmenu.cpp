#include "ui/mainwindow/recentfilesmenu.h"

#include <QDir>
#include <QFileInfo>

#include "ui/app/idesettings.h"
#include "ui/mainwindow/shownname.h"

namespace {

constexpr char kMissing[] = "vesk_missing";
// A longer path is shortened in the middle; the tooltip has it whole.
constexpr qsizetype kShownPathLength = 100;

} // namespace

TRecentFilesMenu::TRecentFilesMenu(QWidget* parent) : QMenu(tr("Последние &файлы"), parent)
{
    setObjectName(QStringLiteral("nRecentItem"));
    menuAction()->setObjectName(QStringLiteral("nRecentItemAction"));
    // Read afresh each time: another window may have added files meanwhile.
    connect(this, &QMenu::aboutToShow, this, &TRecentFilesMenu::Fill);
    setToolTipsVisible(true);
}

void TRecentFilesMenu::Fill()
{
    clear();
    const QStringList files = TIdeSettings().RecentFiles();
    if (files.isEmpty()) {
        addAction(tr("Список пуст"))->setEnabled(false);
        return;
    }
    for (int i = 0; i < files.size(); ++i) {
        const QString& path = files[i];
        const QString whole = WithVisibleControls(QDir::toNativeSeparators(path));
        QString shown = ElidedInTheMiddle(whole, kShownPathLength);
        shown.replace(u'&', QStringLiteral("&&"));
        QAction* entry = addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        entry->setData(path);
        entry->setToolTip(whole);
        entry->setProperty(kMissing, !QFileInfo::exists(path));
        connect(entry, &QAction::triggered, this, [this, path] { emit Chosen(path); });
    }
}

QStyleOptionMenuItem TRecentFilesMenu::EntryStyle(const QAction* entry) const
{
    QStyleOptionMenuItem option;
    initStyleOption(&option, entry);
    return option;
}

void TRecentFilesMenu::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const
{
    QMenu::initStyleOption(option, action);
    if (!action || !action->property(kMissing).toBool())
        return;
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}) {
            option->palette.setColor(group, role, option->palette.color(QPalette::Disabled, role));
        }
    }
}
