// The «Примеры» submenu: the sample programs that come with the program, one
// entry a file, read from their folder each time the menu opens.
#pragma once

#include <QMenu>
#include <QString>

class TExamplesMenu final : public QMenu {
    Q_OBJECT
public:
    explicit TExamplesMenu(QWidget* parent);

    // Next to the program in a build, under share/ once installed; empty
    // when neither holds them.
    [[nodiscard]] static QString InstalledFolder();
    void SetFolder(const QString& folder) { _folder = folder; }
    [[nodiscard]] const QString& Folder() const { return _folder; }

signals:
    void Chosen(const QString& path);

private:
    void Fill();

    QString _folder;
};
