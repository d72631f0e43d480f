// TfMain: the project-file commands: new, open, load, save, save as, and the title.
#include "ui/mainwindow/main.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <stdexcept>

#include "ui/app/application.h"
#include "ui/app/idesettings.h"
#include "ui/mainwindow/shownname.h"

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
    TVeskApplication::SetTitle(QStringLiteral("Vesk - ") + WithVisibleControls(_project->FileName()));
    setWindowTitle(TVeskApplication::Title());
}

void TfMain::Check(const QString& failure)
{
    if (!failure.isEmpty())
        throw std::runtime_error(failure.toStdString());
}

bool TfMain::NewProject()
{
    mEditor->clear();
    mEditor->document()->setModified(false);
    _project->New();
    return true;
}

bool TfMain::LoadProject() { return LoadProjectFrom(_project->Path()); }

bool TfMain::LoadProjectFrom(const QString& path)
{
    // A file that does not open is said so, whether it came from the command line
    // or the open dialog; the project stays as it was, so a later save cannot
    // write this editor's text over the file that failed to load.
    const QString failure = _project->Load(path, [this](std::u16string text) {
        mEditor->SetProgramText(QString::fromStdU16String(text));
        mEditor->document()->setModified(false);
    });
    if (!failure.isEmpty()) {
        TVeskApplication::ShowError(failure);
        return false;
    }
    TIdeSettings().AddRecentFile(path);
    return true;
}

bool TfMain::OpenProject()
{
    if (dOpenDialog->exec() != QDialog::Accepted || dOpenDialog->selectedFiles().isEmpty())
        return false;
    return LoadProjectFrom(dOpenDialog->selectedFiles().first());
}

bool TfMain::SaveProject()
{
    if (_project->Untitled())
        return SaveProjectAs();
    Check(_project->Save(EditorText().toStdU16String()));
    mEditor->document()->setModified(false);
    return true;
}

bool TfMain::SaveProjectAs()
{
    dSaveDialog->selectFile(_project->DisplayName());
    if (dSaveDialog->exec() != QDialog::Accepted || dSaveDialog->selectedFiles().isEmpty())
        return false;
    const QString chosen = dSaveDialog->selectedFiles().first();
    Check(_project->SaveAs(chosen, EditorText().toStdU16String()));
    mEditor->document()->setModified(false);
    TIdeSettings().AddRecentFile(chosen);
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
