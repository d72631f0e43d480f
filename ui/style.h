// The one place that decides how the windows look: fonts, colours, run-button glyphs.
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>

class QApplication;
class QCommandLinkButton;
class QLabel;
class QWidget;

// Tahoma 8 pt where installed, else a metric-compatible sans stand-in.
[[nodiscard]] QFont InterfaceFont();
// Courier New 10 pt where installed, else a metric-compatible mono stand-in.
[[nodiscard]] QFont EditorFont();

[[nodiscard]] QColor LabelTextColor();    // RGB(73, 73, 73)
[[nodiscard]] QColor EditorBackground();  // RGB(246, 246, 246)

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
