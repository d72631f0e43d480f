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
    <message>
        <source>Это устройство или канал, а не обычный файл.</source>
        <translation>This is a device or a pipe, not a regular file.</translation>
    </message>
</context>
<context>
    <name>TBreakRuleDialog</name>
    <message>
        <source>Условие точки останова</source>
        <translation>Breakpoint Condition</translation>
    </message>
    <message>
        <source>Условие (пусто: всегда):</source>
        <translation>Condition (empty: always):</translation>
    </message>
    <message>
        <source>каждый раз</source>
        <translation>every time</translation>
    </message>
    <message>
        <source>Остановиться на попадании номер:</source>
        <translation>Pause on hit number:</translation>
    </message>
    <message>
        <source>Условие не распознано. Пример: $0010 ?00, $0010 ?@0011 или $0010 ??</source>
        <translation>Condition not recognised. Examples: $0010 ?00, $0010 ?@0011 or $0010 ??</translation>
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
    <name>TEditorGutter</name>
    <message>
        <source>Условие точки останова...</source>
        <translation>Breakpoint Condition...</translation>
    </message>
</context>
<context>
    <name>TExamplesMenu</name>
    <message>
        <source>П&amp;римеры</source>
        <translation>&amp;Examples</translation>
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
    <name>TProfileView</name>
    <message>
        <source>Профиль</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>Строка</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>Шагов</source>
        <translation>Steps</translation>
    </message>
    <message>
        <source>Ячейка</source>
        <translation>Cell</translation>
    </message>
    <message>
        <source>Записей</source>
        <translation>Writes</translation>
    </message>
</context>
<context>
    <name>TRecentFilesMenu</name>
    <message>
        <source>Последние &amp;файлы</source>
        <translation>Recent &amp;Files</translation>
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
    <name>TTimeTravel</name>
    <message>
        <source>Откуда это значение</source>
        <translation>Where Did This Value Come From</translation>
    </message>
    <message>
        <source>Выберите ячейку в панели «Ячейки».</source>
        <translation>Select a cell in the «Cells» panel.</translation>
    </message>
    <message>
        <source>Ячейка %1 не записывалась до этого шага.</source>
        <translation>Cell %1 was not written before this step.</translation>
    </message>
    <message>
        <source>Ячейка %1 изменена вручную на шаге %2.</source>
        <translation>Cell %1 was changed by hand at step %2.</translation>
    </message>
    <message>
        <source>Ячейка %1 записана на шаге %2: строка %3, символ %4, оператор %5.</source>
        <translation>Cell %1 was written at step %2: line %3, character %4, operator %5.</translation>
    </message>
    <message>
        <source>Значение взято из ячейки %1.</source>
        <translation>The value came from cell %1.</translation>
    </message>
    <message>
        <source>Перейти к этому шагу</source>
        <translation>Go Back to That Step</translation>
    </message>
</context>
<context>
    <name>TTimeline</name>
    <message>
        <source>Шкала времени выполнения</source>
        <translation>Run timeline</translation>
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
    <message>
        <source>:/vesk/guide.ru.md</source>
        <translation>:/vesk/guide.md</translation>
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
        <source>&amp;Файл</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>Длинная строка: отмечена только строка</source>
        <translation>Long line: only the line is marked</translation>
    </message>
    <message>
        <source>Файл</source>
        <translation>File</translation>
    </message>
    <message>
        <source>&amp;Создать</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>&amp;Открыть...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>Со&amp;хранить</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Сохранить &amp;как...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>Пара&amp;метры страницы...</source>
        <translation>Page Set&amp;up...</translation>
    </message>
    <message>
        <source>&amp;Печать</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>&amp;Выход</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&amp;Правка</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;Отменить</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>Вы&amp;резить</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>&amp;Копировать</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>&amp;Вставить</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>Вы&amp;делить все</source>
        <translation>Select &amp;All</translation>
    </message>
    <message>
        <source>&amp;Удалить</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>&amp;Поиск</source>
        <translation>&amp;Find</translation>
    </message>
    <message>
        <source>П&amp;роект</source>
        <translation>&amp;Project</translation>
    </message>
    <message>
        <source>&amp;Инструменты</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>&amp;Параметры</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>&amp;Справка</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;О программе...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>&amp;Вызов справки</source>
        <translation>Online &amp;Help</translation>
    </message>
    <message>
        <source>&amp;Сайт программы</source>
        <translation>&amp;Website</translation>
    </message>
    <message>
        <source>Описание &amp;языка</source>
        <translation>&amp;Language Guide</translation>
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
        <source>Выполнить &amp;без задержки</source>
        <translation>Run &amp;Without Delay</translation>
    </message>
    <message>
        <source>&amp;Шаг</source>
        <translation>S&amp;tep</translation>
    </message>
    <message>
        <source>Выполнить до &amp;курсора</source>
        <translation>Run to &amp;Cursor</translation>
    </message>
    <message>
        <source>&amp;Точка останова</source>
        <translation>&amp;Breakpoint</translation>
    </message>
    <message>
        <source>&amp;Вид</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>Шаг с &amp;обходом</source>
        <translation>Step &amp;Over</translation>
    </message>
    <message>
        <source>Шаг с в&amp;ыходом</source>
        <translation>Step O&amp;ut</translation>
    </message>
    <message>
        <source>Точка &amp;наблюдения...</source>
        <translation>Watc&amp;hpoint...</translation>
    </message>
    <message>
        <source>Точка наблюдения...</source>
        <translation>Watchpoint...</translation>
    </message>
    <message>
        <source>Точки наблю&amp;дения</source>
        <translation>Watchpoint &amp;List</translation>
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
        <source>&amp;Ячейки</source>
        <translation>&amp;Cells</translation>
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
    <message>
        <source>&amp;Выполнить</source>
        <translation>&amp;Run</translation>
    </message>
    <message>
        <source>&amp;Приостановить</source>
        <translation>&amp;Pause</translation>
    </message>
    <message>
        <source>Пр&amp;ервать</source>
        <translation>&amp;Stop</translation>
    </message>
    <message>
        <source>&amp;Фильтр ячеек</source>
        <translation>Cell &amp;Filter</translation>
    </message>
    <message>
        <source>Стек &amp;адресов</source>
        <translation>&amp;Address Stack</translation>
    </message>
    <message>
        <source>Стек &amp;циклов</source>
        <translation>&amp;Loop Stack</translation>
    </message>
    <message>
        <source>&amp;Скорость</source>
        <translation>&amp;Speed</translation>
    </message>
    <message>
        <source>&amp;Обычная: 1 мс на оператор</source>
        <translation>&amp;Normal: 1 ms per operator</translation>
    </message>
    <message>
        <source>&amp;Средняя: 100 операторов в секунду</source>
        <translation>&amp;Medium: 100 operators a second</translation>
    </message>
    <message>
        <source>&amp;Медленная: 10 операторов в секунду</source>
        <translation>&amp;Slow: 10 operators a second</translation>
    </message>
    <message>
        <source>Очень м&amp;едленная: 2 оператора в секунду</source>
        <translation>&amp;Very slow: 2 operators a second</translation>
    </message>
    <message>
        <source>Профиль &amp;выполнения</source>
        <translation>E&amp;xecution Profile</translation>
    </message>
    <message>
        <source>&amp;Профиль...</source>
        <translation>&amp;Profile...</translation>
    </message>
    <message>
        <source>Время: %1 сек.</source>
        <translation>Time: %1 s</translation>
    </message>
    <message>
        <source>&amp;Найти далее</source>
        <translation>Find &amp;Next</translation>
    </message>
    <message>
        <source>Найти ран&amp;ее</source>
        <translation>Find Pre&amp;vious</translation>
    </message>
    <message>
        <source>Перейти к &amp;строке...</source>
        <translation>&amp;Go to Line...</translation>
    </message>
    <message>
        <source>К п&amp;арной скобке</source>
        <translation>&amp;Matching Bracket</translation>
    </message>
    <message>
        <source>Достигнуто начало текста. Продолжить поиск с конца?</source>
        <translation>Reached the beginning of the text. Continue from the end?</translation>
    </message>
    <message>
        <source>Переход к строке</source>
        <translation>Go to Line</translation>
    </message>
    <message>
        <source>Номер строки (1–%1):</source>
        <translation>Line number (1–%1):</translation>
    </message>
    <message>
        <source>Шаг на&amp;зад</source>
        <translation>Step Bac&amp;k</translation>
    </message>
    <message>
        <source>Выполнить н&amp;азад</source>
        <translation>Ru&amp;n Back</translation>
    </message>
    <message>
        <source>Шаг назад с об&amp;ходом</source>
        <translation>Step Back O&amp;ver</translation>
    </message>
    <message>
        <source>Шаг назад с выходо&amp;м</source>
        <translation>St&amp;ep Back Out</translation>
    </message>
    <message>
        <source>Откуда это значение</source>
        <translation>Where Did This Value Come From</translation>
    </message>
    <message>
        <source>Изменить значение ячейки...</source>
        <translation>Change Cell Value...</translation>
    </message>
    <message>
        <source>Добавить ячейку...</source>
        <translation>Add Cell...</translation>
    </message>
    <message>
        <source>Ячейки можно изменять, только пока выполнение приостановлено.</source>
        <translation>Cells can be changed only while the run is paused.</translation>
    </message>
    <message>
        <source>Значение ячейки</source>
        <translation>Cell Value</translation>
    </message>
    <message>
        <source>Значение:</source>
        <translation>Value:</translation>
    </message>
    <message>
        <source>31, 0x1F, $1F или 0b11111</source>
        <translation>31, 0x1F, $1F or 0b11111</translation>
    </message>
    <message>
        <source>Укажите адрес из четырёх шестнадцатеричных цифр.</source>
        <translation>Enter an address of four hexadecimal digits.</translation>
    </message>
    <message>
        <source>Значение должно быть числом от 0 до 255: десятичным, шестнадцатеричным (0x1F или $1F) или двоичным (0b11111).</source>
        <translation>The value must be a number from 0 to 255: decimal, hexadecimal (0x1F or $1F) or binary (0b11111).</translation>
    </message>
    <message>
        <source>Ячейка изменена вручную: дальнейшая история отброшена</source>
        <translation>Cell changed by hand: the later history is dropped</translation>
    </message>
    <message>
        <source>Ячейка изменена вручную</source>
        <translation>Cell changed by hand</translation>
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
    <message>
        <source>Ячейки были изменены вручную.</source>
        <translation>Cells were changed by hand.</translation>
    </message>
</context>
</TS>
