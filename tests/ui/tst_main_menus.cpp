// The main window's composition, menus, enabling rules, shortcuts and edit
// commands, driven through the real widgets and keys.
#include <QAction>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QLibraryInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "mainfixture.h"
#include "modalhelper.h"
#include "ui/finddialog.h"
#include "ui/website.h"

namespace {

void Key(const TfMain& window, int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
{
    QTest::keyClick(Editor(window), Qt::Key(key), modifiers);
}

QAction* Item(const TfMain& window, const char* name) { return Child<QAction>(window, name); }

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
};

void TestMainMenus::items_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("enabled");
    auto row = [](const char* name, const char* caption, const char* shortcut,
                  bool visible = true, bool enabled = true) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption)
                            << QString::fromLatin1(shortcut) << visible << enabled;
    };
    row("nNewItem", "Создать", "Ctrl+N");
    row("nOpenItem", "Открыть...", "Ctrl+O");
    row("nSaveItem", "Сохранить", "Ctrl+S");
    row("nSaveAsItem", "Сохранить как...", "Ctrl+Shift+S");
    row("nPageItem", "Параметры страницы...", "");
    row("nPrintItem", "Печать", "Ctrl+P");
    row("nExitItem", "Выход", "Alt+F4");
    row("nUndoItem", "Отменить", "Ctrl+Z", true, false);
    row("nCutItem", "Вырезить", "Ctrl+X");
    row("nCopyItem", "Копировать", "Ctrl+C");
    row("nPasteItem", "Вставить", "Ctrl+V");
    row("nSelectAllItem", "Выделить все", "Ctrl+A");
    row("nDeleteItem", "Удалить", "");
    row("nSearchItem", "Поиск", "Ctrl+F");
    row("nRunItem", "Выполнить", "F9");
    row("nPauseItem", "Приостановить", "");
    row("nStopItem", "Прервать", "Ctrl+F2");
    row("nStepOverItem", "Шаг с обходом", "Shift+F8");
    row("nStepOutItem", "Шаг с выходом", "Ctrl+F8");
    row("nWatchItem", "Точка наблюдения...", "Ctrl+F5");
    row("nSettingsItem", "Параметры", "", true, false);
    row("nAboutItem", "О программе...", "Shift+F1");
    row("nWikiItem", "Вызов справки", "F1", false, false); // Qt disables what it hides
    row("nWebItem", "Сайт программы", "");
    row("nGuideItem", "Описание языка", "");
}

void TestMainMenus::items()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QFETCH(bool, visible);
    QFETCH(bool, enabled);
    auto window = ShowMainWindow();
    auto* item = window->findChild<QAction*>(name);
    QVERIFY(item);
    QCOMPARE(item->text(), caption);
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
                                         "nExitItem", "nRecentSeparator", "nRecentItemAction"}
                          << true;
    QTest::newRow("edit") << "nEditItem" << "Правка"
                          << QStringList{"nUndoItem", "nSeparator3", "nCutItem", "nCopyItem",
                                         "nPasteItem", "nSeparator4", "nSelectAllItem",
                                         "nDeleteItem", "nSeparator5", "nSearchItem"}
                          << true;
    QTest::newRow("project") << "nProjectItem" << "Проект"
                             << QStringList{"nRunItem", "nPauseItem", "nStopItem", "nSeparator7",
                                            "nRunUnpacedItem", "nStepItem", "nRunToCursorItem",
                                            "nSeparator8", "nBreakpointItem", "nSeparator9",
                                            "nStepOverItem", "nStepOutItem", "nWatchItem",
                                            "nWatchListItem"}
                             << true;
    QTest::newRow("view") << "nViewItem" << "Вид" << QStringList{"nCellsItem"} << true;
    QTest::newRow("tools") << "nToolsItem" << "Инструменты" << QStringList{"nSettingsItem"}
                           << false;
    QTest::newRow("help") << "nHelpItem" << "Справка"
                          << QStringList{"nAboutItem", "nSeparator6", "nWikiItem", "nWebItem",
                                         "nGuideItem"}
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
    QCOMPARE(found->title(), title);
    QCOMPARE(found->menuAction()->isVisible(), visible);
    QStringList names;
    for (const QAction* action : found->actions())
        names << action->objectName();
    QCOMPARE(names, items);
    QVERIFY(window->menuBar()->actions().contains(found->menuAction()));
}

void TestMainMenus::composition()
{
    auto window = ShowMainWindow();
    QCOMPARE(window->minimumSize(), QSize(640, 480));
    QCOMPARE(window->centralWidget()->size(), QSize(793, 539));
    auto* top = Child<QWidget>(*window, "pTopPanel");
    QCOMPARE(top->geometry(), QRect(0, 0, 793, 73));
    auto* editor = Editor(*window);
    QCOMPARE(editor->geometry(), QRect(3, 76, 793 - 6, 539 - 76 - 3));

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

VESK_MAIN_WINDOW_TEST(TestMainMenus)
#include "tst_main_menus.moc"
