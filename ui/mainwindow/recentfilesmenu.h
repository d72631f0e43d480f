// The "Последние файлы" submenu: the recent project files, newest first.
#pragma once

#include <QMenu>
#include <QStyleOptionMenuItem>

class TRecentFilesMenu final : public QMenu {
    Q_OBJECT
public:
    explicit TRecentFilesMenu(QWidget* parent);

    // How an entry is drawn: a file that no longer exists is grey, yet it can
    // still be chosen, so that the user learns why it does not open.
    [[nodiscard]] QStyleOptionMenuItem EntryStyle(const QAction* entry) const;

signals:
    void Chosen(const QString& path);

protected:
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;

private:
    void Fill();
};
