<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>CoreMessage</name>
    <message>
        <source>Неизвестный символ.</source>
        <translation>Unknown character.</translation>
    </message>
    <message>
        <source>Неверное сочетание программных скобок.</source>
        <translation>Mismatched program brackets.</translation>
    </message>
    <message>
        <source>Неизвестное исключение.</source>
        <translation>Unknown exception.</translation>
    </message>
    <message>
        <source>Неверно указан адрес ячейки.</source>
        <translation>Invalid cell address.</translation>
    </message>
    <message>
        <source>Потерян адрес обрабатываемой ячейки.</source>
        <translation>The address of the current cell is lost.</translation>
    </message>
    <message>
        <source>Не обнаружена ячейка для пересылки.</source>
        <translation>No cell found to copy to.</translation>
    </message>
    <message>
        <source>Не обнаружена ячейка для уничтожения.</source>
        <translation>No cell found to destroy.</translation>
    </message>
    <message>
        <source>Не обнаружена ячейка для выполнения действия.</source>
        <translation>No cell found to act on.</translation>
    </message>
    <message>
        <source>Не обнаружена ячейка для сравнения.</source>
        <translation>No cell found to compare.</translation>
    </message>
    <message>
        <source>Ошибка при доступе к памяти.</source>
        <translation>Memory access error.</translation>
    </message>
    <message>
        <source>Использование числовых данных без операторов</source>
        <translation>Numeric data used without an operator</translation>
    </message>
    <message>
        <source>Обращение к адресу без использования операторов.</source>
        <translation>Address used without an operator.</translation>
    </message>
    <message>
        <source>Потеряно начало цикла.</source>
        <translation>The start of the loop is lost.</translation>
    </message>
    <message>
        <source>Использование символа деления ветвей вне блока обработки условия.</source>
        <translation>Branch separator used outside a condition block.</translation>
    </message>
    <message>
        <source>Потеряна закрывающая скобка ветви обработки условия.</source>
        <translation>The closing bracket of a condition branch is lost.</translation>
    </message>
    <message>
        <source>Не найден блок обработки условия.</source>
        <translation>No condition block found.</translation>
    </message>
    <message>
        <source>Невозможно распознать число &apos;%1&apos;.</source>
        <translation>Cannot read the number &apos;%1&apos;.</translation>
    </message>
</context>
<context>
    <name>OpenWebPage</name>
    <message>
        <source>Не удалось открыть в браузере страницу %1.</source>
        <translation>Could not open the page %1 in a browser.</translation>
    </message>
</context>
<context>
    <name>PrintProgram</name>
    <message>
        <source>Не удалось начать новую страницу печати.</source>
        <translation>Could not start a new page of the print job.</translation>
    </message>
    <message>
        <source>Принтер недоступен.</source>
        <translation>The printer is not available.</translation>
    </message>
    <message>
        <source>Не удалось начать печать.</source>
        <translation>Could not start printing.</translation>
    </message>
</context>
<context>
    <name>ProjectFile</name>
    <message>
        <source>Не удается открыть файл &quot;%1&quot;. %2</source>
        <translation>Cannot open the file &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>Это папка, а не файл проекта.</source>
        <translation>This is a folder, not a project file.</translation>
    </message>
    <message>
        <source>Это устройство или канал, а не файл проекта.</source>
        <translation>This is a device or a pipe, not a project file.</translation>
    </message>
    <message>
        <source>Файл больше %1 МиБ: это не файл проекта.</source>
        <translation>The file is larger than %1 MiB: it is not a project file.</translation>
    </message>
    <message>
        <source>Не удается сохранить файл &quot;%1&quot;. %2</source>
        <translation>Cannot save the file &quot;%1&quot;. %2</translation>
    </message>
</context>
<context>
    <name>TCellsModel</name>
    <message>
        <source>Адрес</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Десятичное</source>
        <translation>Decimal</translation>
    </message>
    <message>
        <source>16-е</source>
        <translation>Hex</translation>
    </message>
    <message>
        <source>Двоичное</source>
        <translation>Binary</translation>
    </message>
    <message>
        <source>Символ</source>
        <translation>Char</translation>
    </message>
</context>
<context>
    <name>TCellsPanel</name>
    <message>
        <source>Ячейки</source>
        <translation>Cells</translation>
    </message>
    <message>
        <source>Фильтр по адресу</source>
        <translation>Filter by address</translation>
    </message>
    <message>
        <source>Стек адресов</source>
        <translation>Address stack</translation>
    </message>
    <message>
        <source>Стек циклов</source>
        <translation>Loop stack</translation>
    </message>
</context>
<context>
    <name>TDebugger</name>
    <message>
        <source>… ещё %1</source>
        <translation>… %1 more</translation>
    </message>
    <message>
        <source>(нет ячейки)</source>
        <translation>(no cell)</translation>
    </message>
    <message>
        <source>Строка %1, символ %2: </source>
        <translation>Line %1, column %2: </translation>
    </message>
    <message>
        <source>Строка удалена или изменена: </source>
        <translation>Line deleted or changed: </translation>
    </message>
    <message>
        <source>Текст изменён после запуска: выполняется программа, какой она была тогда</source>
        <translation>The text changed after the start: the program runs as it was then</translation>
    </message>
    <message>
        <source>Строка, которая выполняется, удалена или изменена после запуска</source>
        <translation>The line being run was deleted or changed after the start</translation>
    </message>
    <message>
        <source>Строки курсора нет в выполняемой программе: она изменена после запуска</source>
        <translation>The caret&apos;s line is not in the running program: it changed after the start</translation>
    </message>
    <message>
        <source>бесконечный</source>
        <translation>endless</translation>
    </message>
    <message>
        <source>осталось %1</source>
        <translation>%1 left</translation>
    </message>
</context>
<context>
    <name>TFindDialog</name>
    <message>
        <source>Поиск</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>Что:</source>
        <translation>Find what:</translation>
    </message>
    <message>
        <source>С учётом регистра</source>
        <translation>Match case</translation>
    </message>
    <message>
        <source>Найти далее</source>
        <translation>Find Next</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>TRecentFilesMenu</name>
    <message>
        <source>Последние файлы</source>
        <translation>Recent Files</translation>
    </message>
    <message>
        <source>Список пуст</source>
        <translation>No recent files</translation>
    </message>
</context>
<context>
    <name>TSourceChecker</name>
    <message>
        <source>Строка: %1, символ: %2. %3</source>
        <translation>Line %1, column %2. %3</translation>
    </message>
</context>
<context>
    <name>TVeskApplication</name>
    <message>
        <source>Неизвестная ошибка.</source>
        <translation>Unknown error.</translation>
    </message>
</context>
<context>
    <name>TfAbout</name>
    <message>
        <source>О проекте Vesk</source>
        <translation>About Vesk</translation>
    </message>
    <message>
        <source>Среда разработки Vesk</source>
        <translation>Vesk development environment</translation>
    </message>
    <message>
        <source>© 2026 Разработчики Vesk</source>
        <translation>© 2026 The Vesk developers</translation>
    </message>
    <message>
        <source>Версия: %1</source>
        <translation>Version: %1</translation>
    </message>
    <message>
        <source>Подробнее: %1</source>
        <translation>Website: %1</translation>
    </message>
</context>
<context>
    <name>TfGuide</name>
    <message>
        <source>Описание языка</source>
        <translation>Language Guide</translation>
    </message>
</context>
<context>
    <name>TfMain</name>
    <message>
        <source>Завершение работы</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Проекты Vesk (*.veskp)</source>
        <translation>Vesk projects (*.veskp)</translation>
    </message>
    <message>
        <source>Все файлы (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>Программа в данный момент выполняется. Прервать?</source>
        <translation>The program is running. Stop it?</translation>
    </message>
    <message>
        <source>Выполнить</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>Запуск программы на выполнение</source>
        <translation>Start the program</translation>
    </message>
    <message>
        <source>Приостановить</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Временная остановка выполнения программы</source>
        <translation>Pause the run for a while</translation>
    </message>
    <message>
        <source>Прервать</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Остановка выполнения и сброс состояния</source>
        <translation>Stop and reset the run</translation>
    </message>
    <message>
        <source>Строка: %1, символ: %2</source>
        <translation>Line %1, column %2</translation>
    </message>
    <message>
        <source>Шагов: %1</source>
        <translation>Steps: %1</translation>
    </message>
    <message>
        <source>Файл</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Создать</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Открыть...</source>
        <translation>Open...</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Сохранить как...</source>
        <translation>Save As...</translation>
    </message>
    <message>
        <source>Параметры страницы...</source>
        <translation>Page Setup...</translation>
    </message>
    <message>
        <source>Печать</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Правка</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Отменить</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Вырезить</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>Копировать</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Вставить</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>Выделить все</source>
        <translation>Select All</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Поиск</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>Проект</source>
        <translation>Project</translation>
    </message>
    <message>
        <source>Инструменты</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>Параметры</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>О программе...</source>
        <translation>About...</translation>
    </message>
    <message>
        <source>Вызов справки</source>
        <translation>Online Help</translation>
    </message>
    <message>
        <source>Сайт программы</source>
        <translation>Website</translation>
    </message>
    <message>
        <source>Описание языка</source>
        <translation>Language Guide</translation>
    </message>
    <message>
        <source>Вместо неё откроется описание языка, встроенное в программу.</source>
        <translation>The language guide built into the program opens instead.</translation>
    </message>
    <message>
        <source>Безымянный</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>Сохранить изменения в текущем проекте?</source>
        <translation>Save changes to the current project?</translation>
    </message>
    <message>
        <source>Создание проекта</source>
        <translation>New Project</translation>
    </message>
    <message>
        <source>Открытие проекта</source>
        <translation>Open Project</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; не найден. Убрать его из списка последних файлов?</source>
        <translation>File &quot;%1&quot; not found. Remove it from the recent files?</translation>
    </message>
    <message>
        <source>Продолжить</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>Произошла ошибка при выполнении программы
Строка: %1, символ: %2.
Сообщение: %3</source>
        <translation>An error occurred while running the program
Line: %1, column: %2.
Message: %3</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>%1 сек.</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>Достигнут конец текста. Продолжить поиск с начала?</source>
        <translation>Reached the end of the text. Continue from the beginning?</translation>
    </message>
    <message>
        <source>Поиск завершен. Текст &quot;%1&quot; не найден.</source>
        <translation>Search finished. The text &quot;%1&quot; was not found.</translation>
    </message>
    <message>
        <source>Выполнить без задержки</source>
        <translation>Run Without Delay</translation>
    </message>
    <message>
        <source>Шаг</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>Выполнить до курсора</source>
        <translation>Run to Cursor</translation>
    </message>
    <message>
        <source>Точка останова</source>
        <translation>Breakpoint</translation>
    </message>
    <message>
        <source>Шаг с обходом</source>
        <translation>Step Over</translation>
    </message>
    <message>
        <source>Шаг с выходом</source>
        <translation>Step Out</translation>
    </message>
    <message>
        <source>Точка наблюдения...</source>
        <translation>Watchpoint...</translation>
    </message>
    <message>
        <source>Точки наблюдения</source>
        <translation>Watchpoints</translation>
    </message>
    <message>
        <source>Точка наблюдения</source>
        <translation>Watchpoint</translation>
    </message>
    <message>
        <source>Адрес ячейки:</source>
        <translation>Cell address:</translation>
    </message>
    <message>
        <source>запись</source>
        <translation>write</translation>
    </message>
    <message>
        <source>изменение значения</source>
        <translation>value change</translation>
    </message>
    <message>
        <source>создание</source>
        <translation>creation</translation>
    </message>
    <message>
        <source>уничтожение</source>
        <translation>destruction</translation>
    </message>
    <message>
        <source>Укажите адрес из четырёх шестнадцатеричных цифр и хотя бы одно событие.</source>
        <translation>Enter an address of four hexadecimal digits and at least one event.</translation>
    </message>
    <message>
        <source>Нет точек наблюдения</source>
        <translation>No watchpoints</translation>
    </message>
    <message>
        <source>Удалить %1</source>
        <translation>Remove %1</translation>
    </message>
    <message>
        <source>Ячейка %1 изменена: %2 → %3</source>
        <translation>Cell %1 changed: %2 → %3</translation>
    </message>
    <message>
        <source>Ячейка %1 записана: %2</source>
        <translation>Cell %1 written: %2</translation>
    </message>
    <message>
        <source>Ячейка %1 создана</source>
        <translation>Cell %1 created</translation>
    </message>
    <message>
        <source>Ячейка %1 уничтожена</source>
        <translation>Cell %1 destroyed</translation>
    </message>
    <message>
        <source>Вид</source>
        <translation>View</translation>
    </message>
    <message>
        <source>Ячейки</source>
        <translation>Cells</translation>
    </message>
    <message>
        <source>Выполняется без задержки</source>
        <translation>Running without delay</translation>
    </message>
    <message>
        <source>Подготовка к выполнению</source>
        <translation>Preparing to run</translation>
    </message>
    <message>
        <source>Выполняется</source>
        <translation>Running</translation>
    </message>
    <message>
        <source>Приостановлено</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>Остановлено</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>Завершено</source>
        <translation>Finished</translation>
    </message>
</context>
<context>
    <name>TfResults</name>
    <message>
        <source>Результаты выполнения</source>
        <translation>Run Results</translation>
    </message>
    <message>
        <source>Выполнение программы успешно завершено.</source>
        <translation>The program finished successfully.</translation>
    </message>
    <message>
        <source>Время выполнения:</source>
        <translation>Execution time:</translation>
    </message>
    <message>
        <source>Выполнено операторов:</source>
        <translation>Operators executed:</translation>
    </message>
    <message>
        <source>Текущие значения использованных переменных:</source>
        <translation>Current values of the cells used:</translation>
    </message>
    <message>
        <source>Адрес</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Значение (двоичное)</source>
        <translation>Value (binary)</translation>
    </message>
    <message>
        <source>Значение (16-е)</source>
        <translation>Value (hex)</translation>
    </message>
    <message>
        <source>Символ</source>
        <translation>Char</translation>
    </message>
    <message>
        <source>Сохранить результаты</source>
        <translation>Save Results</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Текстовый файл (*.txt)</source>
        <translation>Text files (*.txt)</translation>
    </message>
    <message>
        <source>Все файлы (*)</source>
        <translation>All files (*)</translation>
    </message>
</context>
</TS>
