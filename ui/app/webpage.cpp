#include "ui/app/webpage.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "ui/app/application.h"

namespace {

void SayNotOpened(QWidget* parent, const QString& address, const QString& note)
{
    QString text =
        QCoreApplication::translate("OpenWebPage", "Не удалось открыть в браузере страницу %1.")
            .arg(address);
    if (!note.isEmpty())
        text += u'\n' + note;
    QMessageBox box(QMessageBox::Warning, TVeskApplication::Title(), text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace

void OpenWebPage(QWidget* parent, const QString& address, const QString& note,
                 std::function<void()> afterFailure)
{
    QPointer<QWidget> owner(parent);
    auto failed = [owner, address, note, afterFailure] {
        // A window closed meanwhile has nobody left to tell.
        if (!owner)
            return;
        SayNotOpened(owner, address, note);
        if (afterFailure)
            afterFailure();
    };
    // The desktop's own opener is run here rather than through QDesktopServices,
    // which only learns that it started: its status tells whether a browser came.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        if (!QDesktopServices::openUrl(QUrl(address)))
            failed();
        return;
    }
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(opener);
    process->setArguments({QUrl(address).toString(QUrl::FullyEncoded)});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process,
                     [process, failed](int code, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (status != QProcess::NormalExit || code != 0)
                             failed();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, failed](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         process->deleteLater();
                         failed();
                     });
    process->start();
}
