// TfMain: the text search behind the find dialog, and its repetition
// forwards and backwards from the keyboard.
#include "ui/mainwindow/main.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <algorithm>

#include "ui/mainwindow/finddialog.h"

namespace {

// Built when asked, so that it comes out in the interface language.
QString SearchCaption() { return QCoreApplication::translate("TfMain", "Поиск"); }

// One character to one, so offsets in the folded text are those of the original.
QString FoldCase(QString text)
{
    for (QChar& c : text)
        c = c.toLower();
    return text;
}

} // namespace

void TfMain::nSearchItemClick()
{
    _sfpos = mEditor->textCursor().selectionStart();
    dFindDialog->ShowOrRaise();
}

void TfMain::dFindDialogFind()
{
    const QString typed = dFindDialog->FindText();
    const bool matchCase = dFindDialog->MatchCase();
    const QString sought = matchCase ? typed : FoldCase(typed);
    const QString text = matchCase ? EditorText() : FoldCase(EditorText());

    if (!text.contains(sought)) {
        SearchNotFound(typed);
        return;
    }
    // The caret goes to _sfpos + p - 1, p being the 1-based hit from _sfpos on, or 0.
    const qsizetype found = _sfpos <= text.size() ? text.indexOf(sought, _sfpos) : -1;
    const qsizetype target = found >= 0 ? found : qsizetype(_sfpos) - 1;
    QTextCursor cursor = mEditor->textCursor();
    cursor.setPosition(int(std::clamp<qsizetype>(target, 0, text.size())));
    mEditor->setTextCursor(cursor);
    const int start = mEditor->textCursor().selectionStart();

    if (start >= _sfpos) {
        cursor.setPosition(start + int(typed.size()), QTextCursor::KeepAnchor);
        mEditor->setTextCursor(cursor);
        _sfpos = start + 1;
        // The keys go back to the editor; the dialog stays open over the window.
        activateWindow();
        mEditor->setFocus();
        return;
    }
    // Nothing from _sfpos on, although the text holds F earlier.
    const QString question = tr("Достигнут конец текста. Продолжить поиск с начала?");
    if (_sfpos > 0 &&
        Ask(SearchCaption(), question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
        _sfpos = 0;
        dFindDialogFind();
        return;
    }
    SearchNotFound(typed);
}

void TfMain::nFindNextItemClick()
{
    // Before any search there is nothing to repeat: the dialog asks what to find.
    if (dFindDialog->FindText().isEmpty()) {
        nSearchItemClick();
        return;
    }
    // From the caret: just after the start of a selection (a found occurrence
    // is passed over), else where the caret stands.
    const QTextCursor caret = mEditor->textCursor();
    _sfpos = caret.hasSelection() ? caret.selectionStart() + 1 : caret.position();
    dFindDialogFind();
}

void TfMain::nFindPreviousItemClick()
{
    const QString typed = dFindDialog->FindText();
    if (typed.isEmpty()) {
        nSearchItemClick();
        return;
    }
    // Folded as Find Next folds, so both find the same occurrences.
    const bool matchCase = dFindDialog->MatchCase();
    const QString sought = matchCase ? typed : FoldCase(typed);
    const QString text = matchCase ? EditorText() : FoldCase(EditorText());
    const int before = mEditor->textCursor().selectionStart() - 1;
    qsizetype found = before >= 0 ? text.lastIndexOf(sought, before) : -1;
    if (found < 0 && text.contains(sought)) {
        const QString question = tr("Достигнуто начало текста. Продолжить поиск с конца?");
        if (Ask(SearchCaption(), question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            return;
        found = text.lastIndexOf(sought);
    }
    if (found < 0) {
        SearchNotFound(typed);
        return;
    }
    QTextCursor cursor = mEditor->textCursor();
    cursor.setPosition(int(found));
    cursor.setPosition(int(found + typed.size()), QTextCursor::KeepAnchor);
    mEditor->setTextCursor(cursor);
    // A Find Next after this goes on from here.
    _sfpos = int(found) + 1;
}

void TfMain::SearchNotFound(const QString& findText)
{
    const QString text = tr("Поиск завершен. Текст \"%1\" не найден.").arg(findText);
    QMessageBox box(QMessageBox::Information, SearchCaption(), text, QMessageBox::Ok, this);
    box.exec();
}
