#include "ui/app/style.h"

#include <QApplication>
#include <QCommandLinkButton>
#include <QFontDatabase>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>

namespace {

QString FirstInstalled(std::initializer_list<const char*> families)
{
    const QStringList installed = QFontDatabase::families();
    for (const char* family : families) {
        if (installed.contains(QString::fromLatin1(family), Qt::CaseInsensitive))
            return QString::fromLatin1(family);
    }
    return {};
}

QFont FontOf(std::initializer_list<const char*> families, QFont::StyleHint hint, int points)
{
    QFont font;
    const QString family = FirstInstalled(families);
    if (!family.isEmpty())
        font.setFamily(family);
    font.setStyleHint(hint);
    font.setPointSize(points);
    return font;
}

void PaintGlyph(QPainter& painter, TRunGlyph glyph, const QColor& colour)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    switch (glyph) {
    case TRunGlyph::Play: {
        QPainterPath triangle;
        triangle.moveTo(8, 4);
        triangle.lineTo(28, 16);
        triangle.lineTo(8, 28);
        triangle.closeSubpath();
        painter.drawPath(triangle);
        break;
    }
    case TRunGlyph::Pause:
        painter.drawRoundedRect(QRectF(7, 5, 7, 22), 1.5, 1.5);
        painter.drawRoundedRect(QRectF(18, 5, 7, 22), 1.5, 1.5);
        break;
    case TRunGlyph::Stop:
        painter.drawRoundedRect(QRectF(6, 6, 20, 20), 2.5, 2.5);
        break;
    }
}

QColor GlyphColour(TRunGlyph glyph, bool hovered)
{
    switch (glyph) {
    case TRunGlyph::Play: return hovered ? QColor(60, 170, 60) : QColor(40, 120, 40);
    case TRunGlyph::Pause: return hovered ? QColor(230, 170, 40) : QColor(170, 120, 20);
    case TRunGlyph::Stop: return hovered ? QColor(220, 60, 50) : QColor(160, 40, 35);
    }
    return Qt::black;
}

} // namespace

QFont InterfaceFont()
{
    return FontOf({"Tahoma", "Liberation Sans", "DejaVu Sans"}, QFont::SansSerif, 8);
}

QFont EditorFont()
{
    return FontOf({"Courier New", "Liberation Mono", "DejaVu Sans Mono"}, QFont::Monospace, 10);
}

bool IsDarkPalette(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

QColor LabelTextColor(const QPalette& palette)
{
    return IsDarkPalette(palette) ? palette.color(QPalette::WindowText) : QColor(73, 73, 73);
}

void ApplyTextAreaColours(QWidget* widget)
{
    QPalette palette = widget->palette();
    if (IsDarkPalette(palette))
        return;
    palette.setColor(QPalette::Base, QColor(246, 246, 246));
    palette.setColor(QPalette::Text, Qt::black);
    widget->setPalette(palette);
}

const TMarkColours& MarkColours(const QPalette& palette)
{
    static const TMarkColours light{
        {0, 0, 170},     {150, 75, 0},    {0, 120, 60},    {128, 128, 128},
        {160, 0, 0},     {255, 200, 200}, {255, 248, 200}, {255, 214, 80},
        {255, 232, 232}, {255, 150, 150}, {220, 0, 0},     {200, 30, 30},
        {0, 0, 0},       {232, 232, 232}, {120, 120, 120}, {255, 232, 150},
        {196, 222, 255}, {0, 0, 0},       {190, 225, 190}};
    static const TMarkColours dark{
        {130, 170, 255}, {230, 170, 100}, {110, 210, 140}, {150, 150, 150},
        {255, 150, 150}, {110, 30, 30},   {70, 62, 20},    {150, 120, 20},
        {80, 30, 30},    {150, 50, 50},   {255, 90, 90},   {235, 70, 70},
        {240, 240, 240}, {45, 45, 45},    {150, 150, 150}, {110, 85, 20},
        {30, 60, 110},   {240, 240, 240}, {40, 90, 50}};
    return IsDarkPalette(palette) ? dark : light;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, LabelTextColor(palette));
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

void ApplyApplicationStyle(QApplication& app)
{
    app.setFont(InterfaceFont());
    app.setWindowIcon(QIcon(QStringLiteral(":/vesk/logo.png")));
    QPalette labels = app.palette();
    labels.setColor(QPalette::WindowText, LabelTextColor(labels));
    QApplication::setPalette(labels, "QLabel");
}

void FitRunButton(QCommandLinkButton* button, int width, int height)
{
    // Past twice its width a button would no longer leave room for the others.
    int fitted = width;
    while (fitted < 2 * width && button->heightForWidth(fitted) > height)
        ++fitted;
    button->setFixedSize(fitted, height);
}

QIcon RunButtonIcon(TRunGlyph glyph, bool hovered)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintGlyph(painter, glyph, GlyphColour(glyph, hovered));
    painter.end();
    return QIcon(pixmap);
}
