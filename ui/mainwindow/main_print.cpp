// TfMain: the page setup and print commands.
#include "ui/mainwindow/main.h"

#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>

#include "ui/app/application.h"
#include "ui/mainwindow/printing.h"

namespace {

// Sets the printer's margins to its own minimum for one print job and gives
// the stored margins back afterwards, also when printing throws.
class TPrintableAreaMargins {
public:
    explicit TPrintableAreaMargins(QPrinter& printer)
        : _printer(printer), _stored(printer.pageLayout().margins()),
          _units(printer.pageLayout().units())
    {
        _printer.setPageMargins(printer.pageLayout().minimumMargins(), _units);
    }
    ~TPrintableAreaMargins() { _printer.setPageMargins(_stored, _units); }
    TPrintableAreaMargins(const TPrintableAreaMargins&) = delete;
    TPrintableAreaMargins& operator=(const TPrintableAreaMargins&) = delete;

private:
    QPrinter& _printer;
    QMarginsF _stored;
    QPageLayout::Unit _units;
};

// Hides its widget again whenever the widget's window shows it.
class TKeptHidden final : public QObject {
public:
    explicit TKeptHidden(QWidget* widget) : QObject(widget)
    {
        widget->installEventFilter(this);
        widget->hide();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ShowToParent)
            static_cast<QWidget*>(watched)->hide();
        return false;
    }
};

} // namespace

QPrinter& TfMain::Printer()
{
    if (!_printer) {
        _printer = std::make_unique<QPrinter>();
        _printer->setPageSize(QPageSize(QPageSize::A4));
        _printer->setPageMargins(QMarginsF(25, 25, 25, 25), QPageLayout::Millimeter);
    }
    return *_printer;
}

// Both dialogs are made for each use: Qt's print dialog keeps the page
// settings it first saw and would apply them again to every later job.
void TfMain::nPageItemClick()
{
    QPageSetupDialog dPageDialog(&Printer(), this);
    dPageDialog.setObjectName(QStringLiteral("dPageDialog"));
    dPageDialog.exec();
}

void TfMain::nPrintItemClick()
{
    TVeskApplication::RunCommand([this] { PrintJob(); });
}

void TfMain::PrintJob()
{
    QPrintDialog dPrintDialog(&Printer(), this);
    dPrintDialog.setObjectName(QStringLiteral("dPrintDialog"));
    dPrintDialog.setOptions(QAbstractPrintDialog::PrintToFile |
                            QAbstractPrintDialog::PrintShowPageSize |
                            QAbstractPrintDialog::PrintCollateCopies);
    // Qt's own dialog shows its page-range box on every opening, whatever the
    // options say; the whole program is always printed, so none is offered.
    if (auto* range = dPrintDialog.findChild<QWidget*>(QStringLiteral("gbPrintRange")))
        new TKeptHidden(range);
    dPrintDialog.setPrintRange(QAbstractPrintDialog::AllPages);
    if (dPrintDialog.exec() != QDialog::Accepted)
        return;
    // The print covers the whole printable area; the page-setup margins stay
    // stored in the printer for the dialog, but are not applied.
    TPrintableAreaMargins wholeArea(Printer());
    PrintProgram(Printer(), EditorLines(), mEditor->font(), CurrentFile());
}
