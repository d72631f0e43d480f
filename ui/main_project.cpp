// TfMain: the project-file commands: new, open, load, save, save as, and the title.
#include "main.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <stdexcept>

#include "formats/projectfile.h"
#include "ui/application.h"

namespace {

const QString kUntitled = QStringLiteral("Безымянный");
const QString kSaveQuestion = QStringLiteral("Сохранить изменения в текущем проекте?");

// The current project's path, shared by the whole unit as the title logic expects.
QString CurrentFileName = kUntitled;

} // namespace

QString TfMain::CurrentFile() { return CurrentFileName; }

QString TfMain::EditorText() const
{
    // The document's own text: block breaks become "\n", everything else stays
    // as typed (no-break spaces included).
    QString text = mEditor->document()->toRawText();
    for (QChar& c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    }
    return text;
}

std::vector<std::u16string> TfMain::SourceLines() const
{
    return SplitEditorLines(EditorText().toStdU16String());
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
    TVeskApplication::SetTitle(QStringLiteral("Vesk - ") + QFileInfo(CurrentFileName).fileName());
    setWindowTitle(TVeskApplication::Title());
}

bool TfMain::NewProject()
{
    mEditor->clear();
    mEditor->document()->setModified(false);
    CurrentFileName = kUntitled;
    SetProjectTitle();
    return true;
}

bool TfMain::LoadProject()
{
    QFile file(CurrentFileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    const std::u16string text =
        DecodeProjectText(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    mEditor->setPlainText(QString::fromStdU16String(text));
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
    if (LoadProject())
        return true;
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
    // Written beside the old file and renamed over it only when complete.
    // Unbuffered, so that a short write (a full disk) shows in write()'s count:
    // a buffered flush would let the truncated file through to commit().
    const std::string bytes = EncodeProjectText(EditorText().toStdU16String());
    QSaveFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
        file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()) && file.commit();
    if (!written) {
        const QString reason = file.error() != QFileDevice::NoError
                                   ? file.errorString()
                                   : QStringLiteral("Файл записан не полностью.");
        throw std::runtime_error(QStringLiteral("Не удается сохранить файл \"%1\". %2")
                                     .arg(QDir::toNativeSeparators(path), reason)
                                     .toStdString());
    }
}

bool TfMain::SaveProject()
{
    if (CurrentFileName == kUntitled)
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
    CurrentFileName = dSaveDialog->selectedFiles().first();
    WriteProjectFile(CurrentFileName);
    mEditor->document()->setModified(false);
    SetProjectTitle();
    return true;
}

bool TfMain::SaveChangesFirst(const QString& caption)
{
    if (!mEditor->document()->isModified())
        return true;
    switch (Ask(caption, kSaveQuestion, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes: return SaveProject();
    case QMessageBox::No: return true;
    default: return false;
    }
}

// Each command catches its own failure and hands it to the general error handler.
void TfMain::nNewItemClick()
{
    TVeskApplication::RunCommand([this] {
        if (SaveChangesFirst(QStringLiteral("Создание проекта")))
            NewProject();
    });
}

void TfMain::nOpenItemClick()
{
    TVeskApplication::RunCommand([this] {
        if (SaveChangesFirst(QStringLiteral("Открытие проекта")))
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
