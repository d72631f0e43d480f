// The main window's composition, menus, enabling rules, shortcuts and edit
// commands, driven through the real widgets and keys.
#include <QAction>
#include <QClipboard>
#include <QCompleter>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QDesktopServices>
#include <QDir>
#include <QLibraryInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>
#include <QTranslator>
#include <QScrollBar>
#include <QTableView>
#include <QUrl>

#include "mainfixture.h"
#include "modalhelper.h"
#include "ui/debugger/cellspanel.h"
#include "ui/mainwindow/finddialog.h"
#include "ui/app/website.h"

namespace {

void Key(const TfMain& window, int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
{
    QTest::keyClick(Editor(window), Qt::Key(key), modifiers);
}

QAction* Item(const TfMain& window, const char* name) { return Child<QAction>(window, name); }

// A menu text as shown: "&&" is an ampersand, a single "&" marks the next letter.
QString WithoutMnemonic(const QString& text)
{
    return QString(text).replace(QStringLiteral("&&"), QStringLiteral("\x01"))
        .remove(u'&')
        .replace(u'\x01', u'&');
}

QChar Mnemonic(const QString& text)
{
    const qsizetype at = QString(text).replace(QStringLiteral("&&"), QStringLiteral("__")).indexOf(u'&');
    return at < 0 || at + 1 >= text.size() ? QChar() : text[at + 1].toUpper();
}

// The English interface's text for a window text of the main window.
QString EnglishText(const QString& russian)
{
    static QTranslator english;
    static const bool loaded = english.load(QStringLiteral("vesk_en"), QStringLiteral(":/i18n"));
    if (!loaded)
        return {};
    const QByteArray source = russian.toUtf8();
    // The menu items are the window's; the submenus are menus of their own.
    for (const char* context : {"TfMain", "TRecentFilesMenu", "TExamplesMenu"}) {
        const QString text = english.translate(context, source.constData());
        if (!text.isEmpty())
            return text;
    }
    return {};
}

// Opens a menu of the menu bar the way a click does, then closes it again.
void OpenMenu(const TfMain& window, const char* name)
{
    auto* menu = Child<QMenu>(window, name);
    menu->popup(window.mapToGlobal(QPoint(10, 10)));
    menu->hide();
}

QString EnabledItems(const TfMain& window, std::initializer_list<const char*> names)
{
    QStringList enabled;
    for (const char* name : names) {
        if (Item(window, name)->isEnabled())
            enabled << QString::fromLatin1(name);
    }
    return enabled.join(u' ');
}

void SelectRange(const TfMain& window, int from, int to)
{
    QTextCursor cursor = Editor(window)->textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    Editor(window)->setTextCursor(cursor);
}

void SetClipboardWithoutText()
{
    auto* data = new QMimeData;
    data->setData(QStringLiteral("application/x-vesk-test"), QByteArray("x"));
    QGuiApplication::clipboard()->setMimeData(data);
}

} // namespace

// Records what the window asks the desktop to open.
class TUrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls << url; }
};

class TestMainMenus : public QObject {
    Q_OBJECT
private slots:
    void items_data();
    void items();
    void menuOrder_data();
    void menuOrder();
    void composition();
    void editor();
    void runButtonHoverPicture();
    void editItemsFollowEditor();
    void projectItemsFollowButtons();
    void shortcutsApplyRulesFirst();
    void editCommands();
    void deleteReplacesSelection();
    void webAndWiki();
    void aboutWindow();
    void searchCommandShowsDialog();
    void questionButtonsInRussian();
    void otherLayoutKeepsShortcuts();
    void menuLettersOpenMenus();
    void runButtonTooltips();
    void keyboardReachesCellsPanel();
    void completionListGoesWithOpenDialog();
};

void TestMainMenus::items_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("mnemonic"); // the underlined letter, Russian, then English
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("enabled");
    auto row = [](const char* name, const char* caption, const char* mnemonic,
                  const char* shortcut, bool visible = true, bool enabled = true) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption)
                            << QString::fromUtf8(mnemonic) << QString::fromLatin1(shortcut)
                            << visible << enabled;
    };
    row("nNewItem", "Создать", "СN", "Ctrl+N");
    row("nOpenItem", "Открыть...", "ОO", "Ctrl+O");
    row("nSaveItem", "Сохранить", "ХS", "Ctrl+S");
    row("nSaveAsItem", "Сохранить как...", "КA", "Ctrl+Shift+S");
    row("nPageItem", "Параметры страницы...", "МU", "");
    row("nPrintItem", "Печать", "ПP", "Ctrl+P");
    row("nExitItem", "Выход", "ВX", "Alt+F4");
    row("nUndoItem", "Отменить", "ОU", "Ctrl+Z", true, false);
    row("nCutItem", "Вырезить", "РT", "Ctrl+X");
    row("nCopyItem", "Копировать", "КC", "Ctrl+C");
    row("nPasteItem", "Вставить", "ВP", "Ctrl+V");
    row("nSelectAllItem", "Выделить все", "ДA", "Ctrl+A");
    row("nDeleteItem", "Удалить", "УD", "");
    row("nSearchItem", "Поиск", "ПF", "Ctrl+F");
    row("nRunItem", "Выполнить", "ВR", "F9");
    row("nPauseItem", "Приостановить", "ПP", "");
    row("nStopItem", "Прервать", "ЕS", "Ctrl+F2");
    row("nStepOverItem", "Шаг с обходом", "ОO", "Ctrl+F8");
    row("nStepOutItem", "Шаг с выходом", "ЫU", "Ctrl+Shift+F8");
    row("nWatchItem", "Точка наблюдения...", "НH", "Ctrl+F5");
    row("nStepBackItem", "Шаг назад", "ЗK", "Shift+F8");
    row("nRunBackItem", "Выполнить назад", "АN", "Alt+F9");
    row("nStepBackOverItem", "Шаг назад с обходом", "ХV", "Alt+F8");
    row("nStepBackOutItem", "Шаг назад с выходом", "МE", "Alt+Shift+F8");
    row("nSettingsItem", "Параметры", "ПS", "", true, false);
    row("nAboutItem", "О программе...", "ОA", "Shift+F1");
    row("nWikiItem", "Вызов справки", "ВH", "F1", false, false); // Qt disables what it hides
    row("nWebItem", "Сайт программы", "СW", "");
    row("nGuideItem", "Описание языка", "ЯL", "");
    row("nRunUnpacedItem", "Выполнить без задержки", "БW", "Shift+F9");
    row("nStepItem", "Шаг", "ШT", "F8");
    row("nRunToCursorItem", "Выполнить до курсора", "КC", "F4");
    row("nBreakpointItem", "Точка останова", "ТB", "F5");
    row("nCellsItem", "Ячейки", "ЯC", "F12");
    row("nCellsFilterItem", "Фильтр ячеек", "ФF", "Ctrl+Shift+F");
    row("nAddressStackItem", "Стек адресов", "АA", "Ctrl+Shift+A");
    row("nLoopStackItem", "Стек циклов", "ЦL", "Ctrl+Shift+L");
    row("nSpeedItemAction", "Скорость", "СS", "");
    row("nSpeedNormalItem", "Обычная: 1 мс на оператор", "ОN", "");
    row("nSpeedSlowestItem", "Очень медленная: 2 оператора в секунду", "ЕV", "");
    row("nProfileItem", "Профиль выполнения", "ВX", "");
    row("nProfileViewItem", "Профиль...", "ПP", "");
    row("nFindNextItem", "Найти далее", "НN", "F3");
    row("nFindPreviousItem", "Найти ранее", "ЕV", "Shift+F3");
    row("nGoToLineItem", "Перейти к строке...", "СG", "Ctrl+G");
    row("nBracketItem", "К парной скобке", "АM", "Ctrl+B");
}

void TestMainMenus::items()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, mnemonic);
    QFETCH(QString, shortcut);
    QFETCH(bool, visible);
    QFETCH(bool, enabled);
    auto window = ShowMainWindow();
    auto* item = window->findChild<QAction*>(name);
    QVERIFY(item);
    QCOMPARE(WithoutMnemonic(item->text()), caption);
    QCOMPARE(Mnemonic(item->text()), mnemonic.front());
    QCOMPARE(Mnemonic(EnglishText(item->text())), mnemonic.back());
    QCOMPARE(item->shortcut().toString(QKeySequence::PortableText), shortcut);
    QCOMPARE(item->isVisible(), visible);
    QCOMPARE(item->isEnabled(), enabled);
}

void TestMainMenus::menuOrder_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<bool>("visible");
    QTest::newRow("file") << "nFileItem" << "Файл"
                          << QStringList{"nNewItem", "nOpenItem", "nSaveItem", "nSaveAsItem",
                                         "nSeparator1", "nPageItem", "nPrintItem", "nSeparator2",
                                         "nRecentItemAction", "nRecentSeparator", "nExitItem"}
                          << true;
    QTest::newRow("edit") << "nEditItem" << "Правка"
                          << QStringList{"nUndoItem", "nSeparator3", "nCutItem", "nCopyItem",
                                         "nPasteItem", "nSeparator4", "nSelectAllItem",
                                         "nDeleteItem", "nSeparator5", "nSearchItem",
                                         "nFindNextItem", "nFindPreviousItem", "nGoToLineItem",
                                         "nBracketItem"}
                          << true;
    QTest::newRow("project") << "nProjectItem" << "Проект"
                             << QStringList{"nRunItem", "nPauseItem", "nStopItem", "nSeparator7",
                                            "nRunUnpacedItem", "nStepItem", "nRunToCursorItem",
                                            "nSeparator8", "nBreakpointItem", "nSeparator9",
                                            "nStepOverItem", "nStepOutItem", "nWatchItem",
                                            "nWatchListItem", "nSeparatorTravel",
                                            "nStepBackItem", "nRunBackItem", "nStepBackOverItem",
                                            "nStepBackOutItem"}
                             << true;
    QTest::newRow("view") << "nViewItem" << "Вид" << QStringList{"nCellsItem", "nCellsFilterItem", "nAddressStackItem", "nLoopStackItem",
                                                                  "nSeparatorPace", "nSpeedItemAction", "nProfileItem",
                                                                  "nProfileViewItem"}
                          << true;
    QTest::newRow("speed") << "nSpeedItem" << "Скорость"
                           << QStringList{"nSpeedNormalItem", "nSpeedMediumItem", "nSpeedSlowItem",
                                          "nSpeedSlowestItem"}
                           << true;
    QTest::newRow("tools") << "nToolsItem" << "Инструменты" << QStringList{"nSettingsItem"}
                           << false;
    QTest::newRow("help") << "nHelpItem" << "Справка"
                          << QStringList{"nAboutItem", "nSeparator6", "nWikiItem", "nWebItem",
                                         "nGuideItem", "nExamplesItemAction"}
                          << true;
}

void TestMainMenus::menuOrder()
{
    QFETCH(QString, menu);
    QFETCH(QString, title);
    QFETCH(QStringList, items);
    QFETCH(bool, visible);
    auto window = ShowMainWindow();
    auto* found = window->findChild<QMenu*>(menu);
    QVERIFY(found);
    QCOMPARE(WithoutMnemonic(found->title()), title);
    QCOMPARE(found->menuAction()->isVisible(), visible);
    QStringList names;
    for (const QAction* action : found->actions())
        names << action->objectName();
    QCOMPARE(names, items);
    // On the menu bar, or a submenu of one of its menus.
    const auto* holder = qobject_cast<const QMenu*>(found->parent());
    QVERIFY(window->menuBar()->actions().contains(found->menuAction())
            || (holder && holder->actions().contains(found->menuAction())));

    // Every item has its own letter within the menu, in both languages.
    QVERIFY(!Mnemonic(found->title()).isNull());
    QVERIFY(!Mnemonic(EnglishText(found->title())).isNull());
    QString russian;
    QString english;
    for (const QAction* action : found->actions()) {
        if (action->isSeparator() || !action->isVisible())
            continue;
        const QChar ru = Mnemonic(action->text());
        const QChar en = Mnemonic(EnglishText(action->text()));
        QVERIFY2(!ru.isNull() && !russian.contains(ru), qPrintable(action->text()));
        QVERIFY2(!en.isNull() && !english.contains(en), qPrintable(EnglishText(action->text())));
        russian += ru;
        english += en;
    }
}

void TestMainMenus::composition()
{
    auto window = ShowMainWindow();
    QCOMPARE(window->minimumSize(), QSize(640, 480));
    // The editor's 793 pixels leave room for the cells panel beside them.
    const int panel = Child<TCellsPanel>(*window, "pCellsPanel")->WholeColumnsWidth();
    QCOMPARE(window->centralWidget()->size(), QSize(793 + panel, 539));
    auto* top = Child<QWidget>(*window, "pTopPanel");
    QCOMPARE(top->geometry(), QRect(0, 0, 793 + panel, 73));
    auto* editor = Editor(*window);
    QCOMPARE(editor->geometry(), QRect(3, 76, 793 + panel - 6, 539 - 76 - 3));

    // Opened, the panel shows every column whole, and the editor keeps its width.
    Key(*window, Qt::Key_F12, Qt::NoModifier);
    auto* table = Child<QTableView>(*window, "lCellsTable");
    QTRY_VERIFY(table->isVisible());
    QTRY_VERIFY(!table->horizontalScrollBar()->isVisible());
    QVERIFY(editor->width() >= 793 - 6 - 10);
    Key(*window, Qt::Key_F12, Qt::NoModifier);

    // The run buttons sit side by side, 6 apart, in a strip centred at any width.
    auto* strip = Child<QWidget>(*window, "sPanel2");
    for (int width : {793, 1100}) {
        window->resize(width, window->height());
        QTRY_COMPARE(top->width(), width);
        QVERIFY(qAbs(strip->geometry().center().x() - top->width() / 2) <= 1);
    }
    const QRect run = Button(*window, "bBigRun")->geometry();
    const QRect pause = Button(*window, "bBigPause")->geometry();
    const QRect stop = Button(*window, "bBigStop")->geometry();
    QCOMPARE(pause.left() - run.right() - 1, 6);
    QCOMPARE(stop.left() - pause.right() - 1, 6);
    QCOMPARE(Button(*window, "bBigRun")->iconSize(), QSize(32, 32));
}

void TestMainMenus::editor()
{
    auto window = ShowMainWindow();
    auto* editor = Editor(*window);
    QCOMPARE(editor->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(editor->font().pointSize(), 10);
    QVERIFY(QFontInfo(editor->font()).fixedPitch());
    QCOMPARE(editor->palette().color(QPalette::Base), QColor(246, 246, 246));
    QCOMPARE(editor->palette().color(QPalette::Inactive, QPalette::Highlight),
             editor->palette().color(QPalette::Active, QPalette::Highlight));
    QCOMPARE(window->font().pointSize(), 8);

    QTest::keyClicks(editor, QStringLiteral("a"));
    QTest::keyClick(editor, Qt::Key_Tab);
    QCOMPARE(editor->toPlainText(), QStringLiteral("a\t"));
    QVERIFY(editor->hasFocus());
}

void TestMainMenus::runButtonHoverPicture()
{
    auto window = ShowMainWindow();
    for (const char* name : {"bBigRun", "bBigPause", "bBigStop"}) {
        auto* button = Button(*window, name);
        const qint64 normal = button->icon().cacheKey();
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(button, &enter);
        const qint64 hovered = button->icon().cacheKey();
        QVERIFY(hovered != normal);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(button, &leave);
        QCOMPARE(button->icon().cacheKey(), normal);
    }
}

void TestMainMenus::editItemsFollowEditor()
{
    auto window = ShowMainWindow();
    const auto items = {"nUndoItem", "nCutItem", "nCopyItem", "nPasteItem", "nSelectAllItem",
                        "nDeleteItem", "nSearchItem"};
    SetClipboardWithoutText();
    OpenMenu(*window, "nEditItem");
    QCOMPARE(EnabledItems(*window, items), QStringLiteral("nSelectAllItem nDeleteItem nSearchItem"));

    QTest::keyClicks(Editor(*window), QStringLiteral("abc"));
    QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
    OpenMenu(*window, "nEditItem");
    QCOMPARE(EnabledItems(*window, items),
             QStringLiteral("nUndoItem nPasteItem nSelectAllItem nDeleteItem nSearchItem"));

    SelectRange(*window, 0, 2);
    OpenMenu(*window, "nEditItem");
    QCOMPARE(EnabledItems(*window, items), QStringLiteral("nUndoItem nCutItem nCopyItem "
                                                          "nPasteItem nSelectAllItem "
                                                          "nDeleteItem nSearchItem"));
}

void TestMainMenus::projectItemsFollowButtons()
{
    auto window = ShowMainWindow();
    const auto items = {"nRunItem", "nPauseItem", "nStopItem"};
    OpenMenu(*window, "nProjectItem");
    QCOMPARE(EnabledItems(*window, items), QStringLiteral("nRunItem"));
    SetProgram(*window, QStringLiteral("$0001[+01]"));
    Button(*window, "bBigRun")->click();
    OpenMenu(*window, "nProjectItem");
    QCOMPARE(EnabledItems(*window, items), QStringLiteral("nPauseItem nStopItem"));
    Button(*window, "bBigPause")->click();
    OpenMenu(*window, "nProjectItem");
    QCOMPARE(EnabledItems(*window, items), QStringLiteral("nRunItem nPauseItem nStopItem"));
    Button(*window, "bBigStop")->click();
    OpenMenu(*window, "nProjectItem");
    QCOMPARE(EnabledItems(*window, items), QStringLiteral("nRunItem"));
}

void TestMainMenus::shortcutsApplyRulesFirst()
{
    auto window = ShowMainWindow();
    auto* editor = Editor(*window);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    editor->setPlainText(QStringLiteral("abcd"));

    // The menu was last opened with nothing selected; Ctrl+C must look again.
    OpenMenu(*window, "nEditItem");
    QVERIFY(!Item(*window, "nCopyItem")->isEnabled());
    SelectRange(*window, 1, 3);
    Key(*window, Qt::Key_C);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("bc"));

    // And the other way round: opened with a selection, pressed without one.
    OpenMenu(*window, "nEditItem");
    QVERIFY(Item(*window, "nCutItem")->isEnabled());
    SelectRange(*window, 2, 2);
    Key(*window, Qt::Key_X);
    QCOMPARE(editor->toPlainText(), QStringLiteral("abcd"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("bc"));

    // No text in the clipboard: Ctrl+V is consumed and changes nothing.
    SetClipboardWithoutText();
    Key(*window, Qt::Key_V);
    QCOMPARE(editor->toPlainText(), QStringLiteral("abcd"));
    QVERIFY(!Item(*window, "nPasteItem")->isEnabled());
}

void TestMainMenus::editCommands()
{
    auto window = ShowMainWindow();
    auto* editor = Editor(*window);
    QTest::keyClicks(editor, QStringLiteral("one two"));

    Key(*window, Qt::Key_A);
    QCOMPARE(editor->textCursor().selectedText(), QStringLiteral("one two"));
    Key(*window, Qt::Key_C);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("one two"));

    SelectRange(*window, 3, 7);
    editor->document()->setModified(false);
    Key(*window, Qt::Key_X);
    QCOMPARE(editor->toPlainText(), QStringLiteral("one"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral(" two"));
    QVERIFY(editor->document()->isModified());

    Key(*window, Qt::Key_V);
    Key(*window, Qt::Key_V);
    QCOMPARE(editor->toPlainText(), QStringLiteral("one two two"));

    Key(*window, Qt::Key_Z);
    QCOMPARE(editor->toPlainText(), QStringLiteral("one two"));
    // Undo all the way back, then Ctrl+Z has nothing left to do.
    while (editor->document()->isUndoAvailable())
        Key(*window, Qt::Key_Z);
    QCOMPARE(editor->toPlainText(), QString());
    Key(*window, Qt::Key_Z);
    QCOMPARE(editor->toPlainText(), QString());
}

void TestMainMenus::deleteReplacesSelection()
{
    auto window = ShowMainWindow();
    auto* editor = Editor(*window);
    editor->setPlainText(QStringLiteral("$0001+01"));
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));

    SelectRange(*window, 3, 3);
    Item(*window, "nDeleteItem")->trigger();
    QCOMPARE(editor->toPlainText(), QStringLiteral("$0001+01"));
    QVERIFY(!editor->document()->isModified());

    SelectRange(*window, 5, 8);
    Item(*window, "nDeleteItem")->trigger();
    QCOMPARE(editor->toPlainText(), QStringLiteral("$0001"));
    QVERIFY(editor->document()->isModified());
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
}

void TestMainMenus::webAndWiki()
{
    TUrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "Open");
    auto window = ShowMainWindow();
    QTest::keyClick(Editor(*window), Qt::Key_F1);
    Item(*window, "nWebItem")->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));

    const QString site = QString::fromLatin1(kWebSite);
    QCOMPARE(recorder.urls, (QList<QUrl>{QUrl(site + QStringLiteral("/wiki/")), QUrl(site)}));
    QVERIFY(Editor(*window)->toPlainText().isEmpty());
}

void TestMainMenus::aboutWindow()
{
    auto window = ShowMainWindow();
    TModalScript script;
    QString version;
    QString site;
    script.Then([&](QWidget* modal) {
        version = Child<QLabel>(*modal, "lVersion")->text();
        site = Child<QLabel>(*modal, "lSite")->text();
        TModalScript::Dismiss(modal);
    });
    Key(*window, Qt::Key_F1, Qt::ShiftModifier);
    QVERIFY(script.Done());
    QCOMPARE(script.Seen().at(0).kind, QStringLiteral("TfAbout"));
    QVERIFY(version.startsWith(QStringLiteral("Версия: ")));
    QCOMPARE(site, QStringLiteral("Подробнее: ") + QString::fromLatin1(kWebSite));
}

void TestMainMenus::searchCommandShowsDialog()
{
    auto window = ShowMainWindow();
    auto* dialog = window->findChild<TFindDialog*>();
    QVERIFY(dialog);
    QVERIFY(!dialog->isVisible());
    Key(*window, Qt::Key_F);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    // A second Ctrl+F keeps the one dialog.
    Editor(*window)->setFocus();
    Key(*window, Qt::Key_F);
    QCOMPARE(window->findChildren<TFindDialog*>().size(), 1);
    QVERIFY(dialog->isVisible());
}

void TestMainMenus::questionButtonsInRussian()
{
    if (!QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath)).exists(QStringLiteral("qtbase_ru.qm")))
        QSKIP("the toolkit's Russian translation is not installed");
    auto window = ShowMainWindow();
    Editor(*window)->document()->setModified(true);
    TModalScript script;
    QStringList buttons;
    script.ReadQuestionButtons(buttons);
    QVERIFY(!window->close());
    QVERIFY(script.Done());
    QCOMPARE(buttons, (QStringList{QStringLiteral("Да"), QStringLiteral("Нет"), QStringLiteral("Отмена")}));
}

namespace {

// A key as a Cyrillic layout delivers it: the letter it types, and the key's code.
void CyrillicKey(const TfMain& window, char16_t letter, quint32 scanCode,
                 Qt::KeyboardModifiers modifiers)
{
    const QString text(QChar(letter).toLower());
    QKeyEvent press(QEvent::KeyPress, letter, modifiers, scanCode, 0, 0, text);
    QKeyEvent release(QEvent::KeyRelease, letter, modifiers, scanCode, 0, 0, text);
    QApplication::sendEvent(Editor(window), &press);
    QApplication::sendEvent(Editor(window), &release);
}

} // namespace

void TestMainMenus::otherLayoutKeepsShortcuts()
{
    auto window = ShowMainWindow();
    auto* editor = Editor(*window);
    editor->setPlainText(QStringLiteral("one two"));

    CyrillicKey(*window, u'Ф', 38, Qt::ControlModifier); // the A key
    QCOMPARE(editor->textCursor().selectedText(), QStringLiteral("one two"));
    CyrillicKey(*window, u'С', 54, Qt::ControlModifier); // the C key
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("one two"));

    // Without Ctrl the same key types its own letter.
    CyrillicKey(*window, u'Ф', 38, Qt::NoModifier);
    QCOMPARE(editor->toPlainText(), QStringLiteral("ф"));
}

void TestMainMenus::menuLettersOpenMenus()
{
    auto window = ShowMainWindow();
    auto* editor = Editor(*window);
    QMenuBar* bar = window->menuBar();
    const auto openedMenu = [bar]() -> QString {
        QAction* active = bar->activeAction();
        if (!active || !active->menu() || !active->menu()->isVisible())
            return {};
        const QString name = active->menu()->objectName();
        active->menu()->hide();
        bar->setActiveAction(nullptr);
        return name;
    };
    const QStringList bars{QStringLiteral("Файл"), QStringLiteral("Правка"), QStringLiteral("Проект"),
                           QStringLiteral("Вид"), QStringLiteral("Справка")};
    QStringList titles;
    QString letters;
    for (const QAction* menu : bar->actions()) {
        if (menu->isVisible()) {
            titles << WithoutMnemonic(menu->text());
            letters += Mnemonic(menu->text());
        }
    }
    QCOMPARE(titles, bars);
    QCOMPARE(letters, QStringLiteral("ФПРВС"));

    // Alt+Ф in the Russian layout, and the same key (A) in the Latin one.
    CyrillicKey(*window, u'Ф', 38, Qt::AltModifier);
    QCOMPARE(openedMenu(), QStringLiteral("nFileItem"));
    QKeyEvent latin(QEvent::KeyPress, Qt::Key_A, Qt::AltModifier, 38, 0, 0, QStringLiteral("a"));
    QApplication::sendEvent(editor, &latin);
    QCOMPARE(openedMenu(), QStringLiteral("nFileItem"));
    CyrillicKey(*window, u'С', 54, Qt::AltModifier); // the C key
    QCOMPARE(openedMenu(), QStringLiteral("nHelpItem"));
    // A letter no menu has opens nothing, and no Alt+letter types into the program.
    QTest::keyClick(editor, Qt::Key_F, Qt::AltModifier);
    QTest::keyClick(editor, Qt::Key_J, Qt::AltModifier);
    QCOMPARE(openedMenu(), QString());
    QCOMPARE(editor->toPlainText(), QString());

    QTest::keyClick(editor, Qt::Key_F10);
    QCOMPARE(openedMenu(), QStringLiteral("nFileItem"));
    QCOMPARE(editor->toPlainText(), QString());
}

void TestMainMenus::runButtonTooltips()
{
    auto window = ShowMainWindow();
    QCOMPARE(Button(*window, "bBigRun")->toolTip(), QStringLiteral("Выполнить (F9)"));
    QCOMPARE(Button(*window, "bBigPause")->toolTip(), QStringLiteral("Приостановить"));
    QCOMPARE(Button(*window, "bBigStop")->toolTip(), QStringLiteral("Прервать (Ctrl+F2)"));
}

void TestMainMenus::keyboardReachesCellsPanel()
{
    auto window = ShowMainWindow();
    auto* editor = Editor(*window);
    auto* panel = Child<QWidget>(*window, "pCellsPanel");
    auto* filter = Child<QLineEdit>(*window, "mCellsFilter");
    QVERIFY(panel->isHidden());

    // Each part by its key; the hidden panel opens for it.
    Key(*window, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(panel->isVisible());
    QCOMPARE(QApplication::focusWidget(), filter);
    // In the filter too, Alt+letter belongs to the menus and types nothing.
    QTest::keyClick(filter, Qt::Key_J, Qt::AltModifier);
    QCOMPARE(filter->text(), QString());
    QTest::keyClick(filter, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), Child<QListWidget>(*window, "lAddressStack"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_L,
                    Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), Child<QListWidget>(*window, "lLoopStack"));

    // Tab types a tab into the program; Ctrl+Tab leaves it for the panel.
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_Tab, Qt::ControlModifier);
    QVERIFY(panel->isAncestorOf(QApplication::focusWidget()));
    QCOMPARE(editor->toPlainText(), QString());
}

void TestMainMenus::completionListGoesWithOpenDialog()
{
    auto window = ShowMainWindow();
    auto* dialog = Child<QFileDialog>(*window, "dOpenDialog");
    TModalScript script;
    script.Then([](QWidget* modal) { TModalScript::Dismiss(modal); });
    Key(*window, Qt::Key_O);
    QVERIFY(script.Done());
    auto* completer = dialog->findChild<QCompleter*>();
    QVERIFY(completer);
    // The list reopening after the dialog closed (a late folder listing)
    // would take every key; it goes again at once.
    completer->popup()->show();
    QTRY_VERIFY(!completer->popup()->isVisible());
    QVERIFY(!dialog->isVisible());
}

VESK_MAIN_WINDOW_TEST(TestMainMenus)
#include "tst_main_menus.moc"
