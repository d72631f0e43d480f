// The operating system's own words for an error number.
#pragma once

#include <QString>

// "No space left on device" for ENOSPC, in the language the system speaks.
[[nodiscard]] QString SystemReason(int error);
