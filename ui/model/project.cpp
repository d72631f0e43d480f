#include "ui/model/project.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "formats/filewrite.h"
#include "formats/projectfile.h"
#include "formats/projectread.h"

namespace {

// The untitled project's name as the user has always known it. A file given by
// exactly this name is taken as a new project that proposes it in the save
// dialog: it never depends on the interface language.
const QString kUntitledName = QStringLiteral("Безымянный");

QString WriteProject(const QString& path, const std::u16string& text)
{
    const std::string bytes = EncodeProjectText(text);
    return WriteWholeFile(path, QByteArrayView(bytes.data(), qsizetype(bytes.size())),
                          TWriteTarget::RegularFile);
}

} // namespace

QString TProject::DisplayName() const
{
    return Untitled() ? QCoreApplication::translate("TfMain", "Безымянный") : _path;
}

QString TProject::FileName() const
{
    // The whole file name: ":" and "\\" are ordinary characters in it here.
    return Untitled() ? DisplayName() : QFileInfo(_path).fileName();
}

void TProject::New()
{
    _path.clear();
    emit Changed(TChange::pcReplaced);
}

QString TProject::Load(const QString& path, const std::function<void(std::u16string)>& show)
{
    TProjectRead read = ReadProjectFile(path);
    if (!read.error.isEmpty())
        return read.error;
    show(std::move(read.text));
    _path = path == kUntitledName ? QString() : path;
    emit Changed(TChange::pcReplaced);
    return {};
}

QString TProject::Save(const std::u16string& text) const { return WriteProject(_path, text); }

QString TProject::SaveAs(const QString& path, const std::u16string& text)
{
    // The path changes only once the file is written: after a failure Ctrl+S
    // still goes where the title says.
    QString failure = WriteProject(path, text);
    if (!failure.isEmpty())
        return failure;
    _path = path;
    emit Changed(TChange::pcRenamed);
    return {};
}
