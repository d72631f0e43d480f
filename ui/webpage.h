// Opening the program's web pages in the user's browser.
#pragma once

#include <QString>

class QWidget;

// Asks the desktop to open the address. When it cannot (no browser), says so
// in a box over parent, followed by the note if there is one, and returns false.
bool OpenWebPage(QWidget* parent, const QString& address, const QString& note = {});
