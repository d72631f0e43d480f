#include "ui/mainwindow/completionguard.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QEvent>
#include <QFileDialog>

namespace {

class TCompletionGuard final : public QObject {
public:
    TCompletionGuard(QFileDialog& dialog, QCompleter& completer)
        : QObject(&completer), _dialog(dialog), _completer(completer)
    {
        completer.popup()->installEventFilter(this);
        connect(&dialog, &QDialog::finished, this, [this] {
            // No listing still on its way may complete this text any more.
            _completer.setCompletionPrefix(QString());
            _completer.popup()->hide();
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && !_dialog.isVisible()) {
            // Hidden once the show is over: hiding inside it would be undone.
            QMetaObject::invokeMethod(_completer.popup(), &QWidget::hide, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QFileDialog& _dialog;
    QCompleter& _completer;
};

} // namespace

void KeepCompletionInDialog(QFileDialog& dialog)
{
    for (QCompleter* completer : dialog.findChildren<QCompleter*>())
        new TCompletionGuard(dialog, *completer);
}
