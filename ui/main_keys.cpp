// TfMain: the key dispatcher, which runs menu items from their shortcuts whatever
// has the focus, and the run buttons' hover pictures.
#include "main.h"

#include <QCommandLinkButton>
#include <QKeyEvent>

#include "ui/latinkey.h"

bool TfMain::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (type == QEvent::ShortcutOverride || type == QEvent::KeyPress) {
        if (const TShortcutItem* shortcut = ShortcutFor(*static_cast<QKeyEvent*>(event))) {
            // Accepting the override keeps the editor's own bindings and Qt's
            // shortcut map out; the press itself runs the item.
            event->accept();
            if (type == QEvent::KeyPress)
                RunShortcut(*shortcut);
            return true;
        }
    }
    if (HoverEvent(watched, event))
        return false;
    return QMainWindow::eventFilter(watched, event);
}

const TfMain::TShortcutItem* TfMain::ShortcutFor(const QKeyEvent& key) const
{
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    const auto find = [this, modifiers](Qt::Key code) -> const TShortcutItem* {
        const QKeyCombination pressed(modifiers, code);
        for (const auto& shortcut : _shortcuts) {
            if (shortcut.item->shortcut()[0] == pressed)
                return &shortcut;
        }
        return nullptr;
    };
    if (const TShortcutItem* shortcut = find(Qt::Key(key.key())))
        return shortcut;
    // A letter of another layout (Ctrl+Ы for Ctrl+S): the key's Latin letter.
    const bool latinLetter = key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z;
    if (latinLetter || !(modifiers & (Qt::ControlModifier | Qt::AltModifier)))
        return nullptr;
    const Qt::Key latin = LatinLetterKey(key.nativeScanCode());
    return latin == Qt::Key_unknown ? nullptr : find(latin);
}

void TfMain::RunShortcut(const TShortcutItem& shortcut)
{
    // As if the item's menu were opened first, so its enabling rules apply.
    if (shortcut.menuHandler)
        (this->*shortcut.menuHandler)();
    // Qt reports a hidden item as disabled; a hidden item's key still works
    // (F1), and no hidden item is ever disabled on its own.
    const bool enabled = shortcut.item->isEnabled() || !shortcut.item->isVisible();
    if (enabled && shortcut.handler)
        (this->*shortcut.handler)();
}

bool TfMain::HoverEvent(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Enter && event->type() != QEvent::Leave)
        return false;
    for (const auto& icons : iTopImages) {
        if (icons.button == watched) {
            icons.button->setIcon(event->type() == QEvent::Enter ? icons.hovered : icons.normal);
            return true;
        }
    }
    return false;
}
