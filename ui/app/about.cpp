#include "ui/app/about.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "ui/app/style.h"

TfAbout::TfAbout(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("О проекте Vesk"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setFont(InterfaceFont());
    setFixedSize(378, 201);
    CreateLogo();
    CreateTexts();
    CreateButtons();
}

void TfAbout::CreateLogo()
{
    auto* pDecoratePanel = new QFrame(this);
    pDecoratePanel->setObjectName(QStringLiteral("pDecoratePanel"));
    pDecoratePanel->setFrameShape(QFrame::Panel);
    pDecoratePanel->setFrameShadow(QFrame::Sunken);
    pDecoratePanel->setGeometry(8, 8, 146, 146);

    auto* pLogoBackground = new QFrame(this);
    pLogoBackground->setObjectName(QStringLiteral("pLogoBackground"));
    pLogoBackground->setFrameShape(QFrame::Box);
    pLogoBackground->setLineWidth(1);
    pLogoBackground->setAutoFillBackground(true);
    QPalette palette = pLogoBackground->palette();
    palette.setColor(QPalette::Window, QColor(75, 77, 77));
    pLogoBackground->setPalette(palette);
    pLogoBackground->setGeometry(16, 16, 130, 130);

    auto* Image1 = new QLabel(pLogoBackground);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(1, 1, 128, 128);
    Image1->setPixmap(QPixmap(QStringLiteral(":/vesk/logo.png")));
}

void TfAbout::CreateTexts()
{
    QLabel* lTitle = MakeLabel(this, "lTitle", tr("Среда разработки Vesk"), 168, 8);
    QFont titleFont = InterfaceFont();
    titleFont.setPointSize(10);
    titleFont.setBold(true);
    lTitle->setFont(titleFont);
    lTitle->adjustSize();
    const QString version = tr("Версия: %1").arg(QStringLiteral("0.0.0.0"));
    lVersion = MakeLabel(this, "lVersion", version, 168, 30);
    MakeLabel(this, "lCopyright", tr("© 2026 Разработчики Vesk"), 168, 66);
    const QString site = tr("Подробнее: %1").arg(QStringLiteral("http://"));
    lSite = MakeLabel(this, "lSite", site, 168, 85);
}

void TfAbout::CreateButtons()
{
    auto* bBottomLine = new QFrame(this);
    bBottomLine->setObjectName(QStringLiteral("bBottomLine"));
    bBottomLine->setFrameShape(QFrame::HLine);
    bBottomLine->setFrameShadow(QFrame::Sunken);
    bBottomLine->setGeometry(8, 160, 362, 2);

    auto* bOkButton = new QPushButton(QStringLiteral("OK"), this);
    bOkButton->setObjectName(QStringLiteral("bOkButton"));
    bOkButton->setGeometry(295, 168, 75, 25);
    bOkButton->setDefault(true);
    connect(bOkButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TfAbout::SetVersion(const QString& version)
{
    SetLabelText(lVersion, tr("Версия: %1").arg(version));
}

void TfAbout::SetWebSite(const QString& address)
{
    SetLabelText(lSite, tr("Подробнее: %1").arg(address));
}

void TfAbout::showEvent(QShowEvent* event)
{
    CentreOverParent();
    QDialog::showEvent(event);
}

void TfAbout::CentreOverParent()
{
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner)
        return;
    const QRect area = owner->frameGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}
