// TfMain: the text search behind the find dialog.
#include "main.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <algorithm>

#include "ui/finddialog.h"

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

void TfMain::SearchNotFound(const QString& findText)
{
    const QString text = tr("Поиск завершен. Текст \"%1\" не найден.").arg(findText);
    QMessageBox box(QMessageBox::Information, SearchCaption(), text, QMessageBox::Ok, this);
    box.exec();
}
