// TfMain: the project-file commands: new, open, load, save, save as, and the title.
#include "main.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFileDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <stdexcept>

#include "formats/filewrite.h"
#include "formats/projectfile.h"
#include "formats/projectread.h"
#include "ui/application.h"
#include "ui/idesettings.h"
#include "ui/shownname.h"

namespace {

// Built when asked, so that it comes out in the interface language.
QString Untitled() { return QCoreApplication::translate("TfMain", "Безымянный"); }

// The current project's path, shared by the whole unit as the title logic expects.
// Empty until the first NewProject, which runs once the interface language is set.
QString CurrentFileName;

} // namespace

QString TfMain::CurrentFile() { return CurrentFileName.isEmpty() ? Untitled() : CurrentFileName; }

QString TfMain::EditorText() const { return mEditor->ProgramText(); }

std::vector<std::u16string> TfMain::SourceLines() const
{
    return TCodeEditor::ProgramLines(EditorText());
}

QStringList TfMain::EditorLines() const
{
    QStringList lines;
    for (const auto& line : SourceLines())
        lines.append(QString::fromStdU16String(line));
    return lines;
}

void TfMain::SetProjectTitle()
{
    // The whole file name: ":" and "\\" are ordinary characters in it here.
    TVeskApplication::SetTitle(QStringLiteral("Vesk - ")
                               + WithVisibleControls(QFileInfo(CurrentFileName).fileName()));
    setWindowTitle(TVeskApplication::Title());
}

bool TfMain::NewProject()
{
    mEditor->clear();
    mEditor->document()->setModified(false);
    CurrentFileName = Untitled();
    SetProjectTitle();
    return true;
}

bool TfMain::LoadProject()
{
    // A file that does not open is said so, whether it came from the command line
    // or the open dialog; the project stays as it was.
    const TProjectRead read = ReadProjectFile(CurrentFileName);
    if (!read.error.isEmpty()) {
        TVeskApplication::ShowError(read.error);
        return false;
    }
    mEditor->SetProgramText(QString::fromStdU16String(read.text));
    mEditor->document()->setModified(false);
    SetProjectTitle();
    return true;
}

bool TfMain::LoadProjectFrom(const QString& path)
{
    // A failed load keeps the earlier path, so a later save cannot write this
    // editor's text over the file that failed to load.
    const QString previous = CurrentFileName;
    CurrentFileName = path;
    if (LoadProject()) {
        TIdeSettings().AddRecentFile(path);
        return true;
    }
    CurrentFileName = previous;
    return false;
}

bool TfMain::OpenProject()
{
    if (dOpenDialog->exec() != QDialog::Accepted || dOpenDialog->selectedFiles().isEmpty())
        return false;
    return LoadProjectFrom(dOpenDialog->selectedFiles().first());
}

void TfMain::WriteProjectFile(const QString& path) const
{
    const std::string bytes = EncodeProjectText(EditorText().toStdU16String());
    const QString failure = WriteWholeFile(path, QByteArrayView(bytes.data(), qsizetype(bytes.size())),
                                           TWriteTarget::RegularFile);
    if (!failure.isEmpty())
        throw std::runtime_error(failure.toStdString());
}

bool TfMain::SaveProject()
{
    if (CurrentFileName == Untitled())
        return SaveProjectAs();
    WriteProjectFile(CurrentFileName);
    mEditor->document()->setModified(false);
    return true;
}

bool TfMain::SaveProjectAs()
{
    dSaveDialog->selectFile(CurrentFileName);
    if (dSaveDialog->exec() != QDialog::Accepted || dSaveDialog->selectedFiles().isEmpty())
        return false;
    // The path changes only once the file is written: after a failure Ctrl+S
    // still goes where the title says.
    const QString chosen = dSaveDialog->selectedFiles().first();
    WriteProjectFile(chosen);
    CurrentFileName = chosen;
    mEditor->document()->setModified(false);
    SetProjectTitle();
    TIdeSettings().AddRecentFile(CurrentFileName);
    return true;
}

bool TfMain::SaveChangesFirst(const QString& caption)
{
    if (!mEditor->document()->isModified())
        return true;
    const QString question = tr("Сохранить изменения в текущем проекте?");
    switch (Ask(caption, question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes: return SaveProject();
    case QMessageBox::No: return true;
    default: return false;
    }
}

// Each command catches its own failure and hands it to the general error handler.
void TfMain::nNewItemClick()
{
    TVeskApplication::RunCommand([this] {
        if (SaveChangesFirst(tr("Создание проекта")))
            NewProject();
    });
}

void TfMain::nOpenItemClick()
{
    TVeskApplication::RunCommand([this] {
        if (SaveChangesFirst(tr("Открытие проекта")))
            OpenProject();
    });
}

void TfMain::nSaveItemClick()
{
    TVeskApplication::RunCommand([this] { SaveProject(); });
}

void TfMain::nSaveAsItemClick()
{
    TVeskApplication::RunCommand([this] { SaveProjectAs(); });
}
