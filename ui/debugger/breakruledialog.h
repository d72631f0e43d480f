// The dialog that edits a breakpoint's condition and hit count. A condition
// that does not parse is refused while the dialog is open, never at run time.
#pragma once

#include "ui/editor/codeeditor.h"

class QWidget;

// False when cancelled; otherwise `rule` holds what was accepted.
[[nodiscard]] bool AskBreakpointRule(QWidget* parent, TCodeEditor::TBreakpointRule& rule);
