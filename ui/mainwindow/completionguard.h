// Keeps a file dialog's name completion from outliving the dialog.
#pragma once

class QFileDialog;

// The name box completes from a file system model that lists folders on
// another thread; a listing that arrives after the dialog closed (a path typed
// fast, then Enter) reopens the completion list on its own. That list grabs
// the keyboard, and every key (F9) went to it until a mouse click. Once the
// dialog has closed, its completion lists are put away and kept away.
void KeepCompletionInDialog(QFileDialog& dialog);
