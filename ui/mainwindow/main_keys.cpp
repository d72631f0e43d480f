// TfMain: the key dispatcher, which runs menu items from their shortcuts whatever
// has the focus and opens the menus from their letters, and the run buttons'
// hover pictures.
#include "ui/mainwindow/main.h"

#include <QCommandLinkButton>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

#include "ui/debugger/cellspanel.h"
#include "ui/mainwindow/latinkey.h"

namespace {

// The underlined letter of a menu text, upper case; U+0000 for none.
char16_t MnemonicOf(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] != u'&')
            return text[i + 1].toUpper().unicode();
        ++i; // "&&" is a plain ampersand
    }
    return u'\0';
}

} // namespace

bool TfMain::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (type == QEvent::ShortcutOverride || type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (MenuKey(*key)) {
            // Alt+letter is the menus' alone: it never types into a text.
            event->accept();
            if (type == QEvent::KeyPress)
                OpenMenuFor(*key);
            return true;
        }
        // Tab types a tab into the program; Ctrl+Tab leaves it, to the cells panel.
        const bool ctrlTab = (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
                             (key->modifiers() & Qt::ControlModifier);
        if (watched == mEditor && ctrlTab) {
            event->accept();
            if (type == QEvent::KeyPress)
                focusNextPrevChild(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
            return true;
        }
        // The other widgets keep their own Ctrl keys (Ctrl+A in the cells filter).
        const bool dispatches = watched == mEditor || watched == this;
        const TShortcutItem* shortcut = dispatches ? ShortcutFor(*key) : nullptr;
        if (shortcut) {
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

bool TfMain::MenuKey(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (key.key() == Qt::Key_F10 && modifiers == Qt::NoModifier)
        return true;
    if (modifiers != Qt::AltModifier && modifiers != (Qt::AltModifier | Qt::ShiftModifier))
        return false;
    return !key.text().isEmpty() && key.text().front().isLetterOrNumber();
}

void TfMain::OpenMenuFor(const QKeyEvent& key)
{
    QAction* first = nullptr;
    QAction* chosen = nullptr;
    // The letter the key typed, and the letters on the same key in the Latin and
    // the Russian layouts: a menu letter works whichever layout is active.
    const char16_t typed = key.text().front().toUpper().unicode();
    const Qt::Key latinKey = LatinLetterKey(key.nativeScanCode());
    const char16_t latin = latinKey == Qt::Key_unknown ? u'\0' : char16_t(latinKey);
    const char16_t cyrillic = CyrillicLetter(key.nativeScanCode());
    for (QAction* menu : menuBar()->actions()) {
        if (!menu->isVisible() || menu->isSeparator())
            continue;
        if (!first)
            first = menu;
        const char16_t letter = MnemonicOf(menu->text());
        if (letter != u'\0' && (letter == typed || letter == latin || letter == cyrillic)) {
            chosen = menu;
            break;
        }
    }
    if (key.key() == Qt::Key_F10)
        chosen = first;
    if (chosen)
        menuBar()->setActiveAction(chosen);
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

void TfMain::BuildFocusItems(QMenu* viewMenu)
{
    AddItem(viewMenu, "nCellsFilterItem", tr("&Фильтр ячеек"),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F), &TfMain::nCellsFilterItemClick, nullptr);
    AddItem(viewMenu, "nAddressStackItem", tr("Стек &адресов"),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A), &TfMain::nAddressStackItemClick,
            nullptr);
    AddItem(viewMenu, "nLoopStackItem", tr("Стек &циклов"),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L), &TfMain::nLoopStackItemClick, nullptr);
    // Their Alt+letter opens the menus too, rather than typing into the filter.
    for (QWidget* part :
         {pCellsPanel->Filter(), pCellsPanel->AddressStack(), pCellsPanel->LoopStack()})
        part->installEventFilter(this);
}

void TfMain::FocusCellsPart(QWidget* part)
{
    if (pCellsPanel->isHidden())
        nCellsItemClick();
    part->setFocus(Qt::ShortcutFocusReason);
}

void TfMain::nCellsFilterItemClick() { FocusCellsPart(pCellsPanel->Filter()); }

void TfMain::nAddressStackItemClick() { FocusCellsPart(pCellsPanel->AddressStack()); }

void TfMain::nLoopStackItemClick() { FocusCellsPart(pCellsPanel->LoopStack()); }

void TfMain::ShowShortcutsInTooltips()
{
    const std::pair<QCommandLinkButton*, QAction*> commands[] = {
        {bBigRun, nRunItem}, {bBigPause, nPauseItem}, {bBigStop, nStopItem}};
    for (const auto& [button, item] : commands) {
        QString tip = QString(item->text()).remove(u'&');
        if (!item->shortcut().isEmpty())
            tip += QStringLiteral(" (%1)").arg(item->shortcut().toString(QKeySequence::NativeText));
        button->setToolTip(tip);
    }
}
