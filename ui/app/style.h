// The one place that decides how the windows look: fonts, colours, run-button glyphs.
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>

class QApplication;
class QCommandLinkButton;
class QLabel;
class QPalette;
class QWidget;

// Tahoma 8 pt where installed, else a metric-compatible sans stand-in.
[[nodiscard]] QFont InterfaceFont();
// Courier New 10 pt where installed, else a metric-compatible mono stand-in.
[[nodiscard]] QFont EditorFont();

// A dark palette (its window colour is dark) takes the dark colour sets; the
// light sets are the program's own colours.
[[nodiscard]] bool IsDarkPalette(const QPalette& palette);

// RGB(73, 73, 73) under a light palette; a dark one keeps its own text colour.
[[nodiscard]] QColor LabelTextColor(const QPalette& palette);
// The editor's and the results list's text area: black on RGB(246, 246, 246)
// under a light palette, the palette's own base and text under a dark one.
void ApplyTextAreaColours(QWidget* widget);

// Colours no palette gives: syntax, the marks in the editor and its gutter, and
// the cells panel's changed and current rows. Every background comes with the
// text colour to draw on it.
struct TMarkColours {
    QColor operatorText, operand, address, comment, refusedText, refusedBack;
    QColor executionLine, executionText, errorLine, errorText, problemUnderline;
    QColor breakpoint, arrowOutline, gutterBack, gutterText;
    QColor changedBack, currentBack, markedText, bracketPair;
};
[[nodiscard]] const TMarkColours& MarkColours(const QPalette& palette);

// A label of a fixed-layout window: named, in the label colour, sized to its text at (x, y).
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y);
// New text for such a label; it grows or shrinks with it.
void SetLabelText(QLabel* label, const QString& text);

// The interface font for every window and the label colour for every label.
void ApplyApplicationStyle(QApplication& app);

// Fixes a run button's size: height, and width where its font lets the note fit
// there; a font that needs more room widens the button until the whole note
// shows, whichever fonts the system has.
void FitRunButton(QCommandLinkButton* button, int width, int height);

enum class TRunGlyph { Play, Pause, Stop };

// A 32 x 32 picture of a run button; the hover variant is brighter.
[[nodiscard]] QIcon RunButtonIcon(TRunGlyph glyph, bool hovered);
