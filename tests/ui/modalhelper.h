// Answers the real modal windows a test provokes: each queued action handles
// the next modal widget that shows up, after its text has been recorded. A
// modal nobody expected is recorded too and rejected, so a test never hangs.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>

struct TModalSeen {
    QString kind;  // the class name, e.g. "QMessageBox"
    QString title; // window title
    QString text;  // a message box's text
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool expected = true;
};

class TModalScript final : public QObject {
public:
    using TAction = std::function<void(QWidget*)>;

    TModalScript()
    {
        _poll.setInterval(5);
        connect(&_poll, &QTimer::timeout, this, &TModalScript::Poll);
        _poll.start();
    }

    // Any action on the next modal widget.
    void Then(TAction action) { _actions.push_back(std::move(action)); }

    // Presses one of a message box's buttons.
    void Answer(QMessageBox::StandardButton button)
    {
        Then([this, button](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QAbstractButton* pressed = box ? box->button(button) : nullptr;
            if (pressed) {
                pressed->click();
            } else {
                _mismatches++;
                Dismiss(modal);
            }
        });
    }

    // Types a path into a file dialog and accepts it.
    void ChooseFile(const QString& path)
    {
        Then([this, path](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog) {
                _mismatches++;
                Dismiss(modal);
                return;
            }
            TypeFileName(dialog, path);
            static_cast<QDialog*>(dialog)->accept(); // virtual: the file dialog's own checks run
        });
    }

    // Cancels whatever dialog it is.
    void Cancel()
    {
        Then([](QWidget* modal) { Dismiss(modal); });
    }

    // Notes the texts (without & marks) of a Yes/No/Cancel question's
    // buttons, then presses Cancel.
    void ReadQuestionButtons(QStringList& texts)
    {
        Then([this, &texts](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (!box || !box->button(QMessageBox::Cancel)) {
                _mismatches++;
                Dismiss(modal);
                return;
            }
            for (auto button : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
                texts << (box->button(button) ? box->button(button)->text().remove(u'&') : QString());
            box->button(QMessageBox::Cancel)->click();
        });
    }

    // As a user would: go to the folder, then type the name into the name box.
    static void TypeFileName(QFileDialog* dialog, const QString& path)
    {
        const QFileInfo info(path);
        dialog->setDirectory(info.absolutePath());
        if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            edit->setText(info.fileName());
        else
            dialog->selectFile(path);
    }

    [[nodiscard]] const std::vector<TModalSeen>& Seen() const { return _seen; }
    [[nodiscard]] std::size_t Pending() const { return _actions.size(); }
    [[nodiscard]] int Mismatches() const { return _mismatches; }
    [[nodiscard]] int Unexpected() const
    {
        int count = 0;
        for (const auto& seen : _seen)
            count += seen.expected ? 0 : 1;
        return count;
    }
    // True when every queued action ran on the kind of modal it wanted and
    // nothing else came up.
    [[nodiscard]] bool Done() const
    {
        return _actions.empty() && _mismatches == 0 && Unexpected() == 0;
    }

    static void Dismiss(QWidget* modal)
    {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A hidden modal may come back (the file dialogs are kept): answer it again then.
        if (event->type() == QEvent::Hide) {
            watched->setProperty(kAnswered, false);
            watched->removeEventFilter(this);
        }
        return false;
    }

private:
    static constexpr const char* kAnswered = "vesk_test_answered";

    void Poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal->property(kAnswered).toBool())
            return;
        modal->setProperty(kAnswered, true);
        modal->installEventFilter(this);
        TModalSeen seen{QString::fromLatin1(modal->metaObject()->className()),
                        modal->windowTitle(), {}, QMessageBox::NoIcon, !_actions.empty()};
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen.text = box->text();
            seen.icon = box->icon();
        }
        _seen.push_back(seen);
        TAction action = seen.expected ? std::move(_actions.front()) : TAction(&Dismiss);
        if (seen.expected)
            _actions.pop_front();
        // Run from a timer of its own: the action may open a further modal,
        // which this poll must then be free to answer.
        QPointer<QWidget> target(modal);
        QTimer::singleShot(0, this, [target, action] {
            if (target)
                action(target);
        });
    }

    QTimer _poll;
    std::deque<TAction> _actions;
    std::vector<TModalSeen> _seen;
    int _mismatches = 0;
};
