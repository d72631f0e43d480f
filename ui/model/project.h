// The project: which file the editor's program belongs to. The text itself
// lives in the editor; the project reads it from and writes it to the file.
// An empty path is a project without a file; its name is only ever shown.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

class TProject final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // How the project changed: another text came (new, load), or the same
    // text went to another file (save as).
    enum class TChange { pcReplaced, pcRenamed };

    [[nodiscard]] const QString& Path() const { return _path; }
    [[nodiscard]] bool Untitled() const { return _path.isEmpty(); }
    // The path, or «Безымянный» in the interface language: for showing only.
    [[nodiscard]] QString DisplayName() const;
    // The file-name part of DisplayName: everything after the last '/'.
    [[nodiscard]] QString FileName() const;

    // A project without a file.
    void New();
    // Reads the file at `path`; when it was read, `show` gets its text and the
    // project becomes that file. The error text, empty when done; a failed
    // load changes nothing.
    [[nodiscard]] QString Load(const QString& path, const std::function<void(std::u16string)>& show);
    // Writes `text` to the project's file; the error text, empty when written.
    [[nodiscard]] QString Save(const std::u16string& text) const;
    // Writes `text` to `path`, which becomes the project's file once written.
    [[nodiscard]] QString SaveAs(const QString& path, const std::u16string& text);

signals:
    void Changed(TProject::TChange change);

private:
    QString _path;
};
