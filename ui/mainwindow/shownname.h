// File names and paths as the window shows them: in a title or a menu a name
// must read as it is stored, whatever characters it holds.
#pragma once

#include <QString>

// Each character that reorders text (U+202E and its kin) written out as
// "<U+202E>", so that a name cannot show reversed or disguise its extension.
[[nodiscard]] QString WithVisibleControls(const QString& text);

// At most maxLength characters: a longer text keeps its start and its end
// with "…" between them, never splitting a surrogate pair.
[[nodiscard]] QString ElidedInTheMiddle(const QString& text, qsizetype maxLength);
