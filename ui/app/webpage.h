// Opening the program's web pages in the user's browser.
#pragma once

#include <QString>

#include <functional>

class QWidget;

// Asks the desktop to open the address. When it cannot (no browser, or the
// desktop's opener gives up with a non-zero status), says so in a box over
// parent, followed by the note if there is one, and then calls afterFailure.
// The opener's answer may come later: the window goes on meanwhile.
void OpenWebPage(QWidget* parent, const QString& address, const QString& note = {},
                 std::function<void()> afterFailure = {});
