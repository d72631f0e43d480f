// The Latin letter on a key, whatever layout is active.
#pragma once

#include <QtGlobal>
#include <Qt>

// With a Cyrillic layout, Ctrl+S arrives as Ctrl+Ы. Shortcuts are meant for the
// key, not the letter, so the key's native scan code (an X/evdev key code, as the
// xcb and Wayland platforms report it) gives the letter of the standard PC layout.
// Qt::Key_unknown when the code is not a letter key (or the platform gives none).
[[nodiscard]] Qt::Key LatinLetterKey(quint32 nativeScanCode);

// The Cyrillic capital the same key types in the standard Russian layout, so
// that a Russian menu letter answers whichever layout is active; U+0000 when
// the key types none.
[[nodiscard]] char16_t CyrillicLetter(quint32 nativeScanCode);
