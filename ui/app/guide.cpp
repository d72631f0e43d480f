#include "ui/app/guide.h"

#include <QFile>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QVBoxLayout>

TfGuide::TfGuide(QWidget* owner) : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("fGuide"));
    setWindowTitle(tr("Описание языка"));
    mGuideText = new QTextBrowser(this);
    mGuideText->setObjectName(QStringLiteral("mGuideText"));
    mGuideText->setOpenExternalLinks(true);
    mGuideText->document()->setDocumentMargin(12);
    mGuideText->setMarkdown(Text());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mGuideText);
    resize(720, 640);
}

void TfGuide::keyPressEvent(QKeyEvent* event)
{
    // A reference window: Escape puts it away, as it does a dialog.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

TfGuide* TfGuide::ShowFor(QWidget* owner)
{
    auto* guide = owner->findChild<TfGuide*>(QString(), Qt::FindDirectChildrenOnly);
    if (!guide)
        guide = new TfGuide(owner);
    guide->show();
    guide->raise();
    guide->activateWindow();
    return guide;
}

QString TfGuide::Text()
{
    // The interface's translation names the guide in its own language; the
    // literal is kRussianGuideResource, spelled out for the translation tools.
    return Text(tr(":/vesk/guide.ru.md"));
}

QString TfGuide::Text(const QString& resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}
