#include "about.h"

#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace {

QFont TahomaFont(const QFont& base, int pointSize, bool bold)
{
    QFont font = base;
    if (QFontDatabase::families().contains(QStringLiteral("Tahoma")))
        font.setFamily(QStringLiteral("Tahoma"));
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(73, 73, 73));
    label->setPalette(palette);
    label->move(x, y);
    label->adjustSize();
    return label;
}

void SetLabelText(QLabel* label, const QString& text)
{
    label->setText(text);
    label->adjustSize();
}

} // namespace

TfAbout::TfAbout(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("О проекте Vesk"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setFont(TahomaFont(font(), 8, false));
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
    QLabel* lTitle = MakeLabel(this, "lTitle", QStringLiteral("Среда разработки Vesk"), 168, 8);
    lTitle->setFont(TahomaFont(font(), 10, true));
    lTitle->adjustSize();
    lVersion = MakeLabel(this, "lVersion", QStringLiteral("Версия: 0.0.0.0"), 168, 30);
    MakeLabel(this, "lCopyright", QStringLiteral("© 2026 Разработчики Vesk"), 168, 66);
    lSite = MakeLabel(this, "lSite", QStringLiteral("Подробнее: http://"), 168, 85);
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
    SetLabelText(lVersion, QStringLiteral("Версия: ") + version);
}

void TfAbout::SetWebSite(const QString& address)
{
    SetLabelText(lSite, QStringLiteral("Подробнее: ") + address);
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
