// The interpreter's error messages in the interface language: the core speaks
// Russian only, and the runner keeps its words as they are.
#pragma once

#include <QString>

#include "core/coreerror.h"

[[nodiscard]] QString CoreMessageText(const TCoreError& error);
