// The operating system's own words for an error number, and the file failure
// messages that carry them.
#pragma once

#include <QString>

// "No space left on device" for ENOSPC, in the language the system speaks.
[[nodiscard]] QString SystemReason(int error);

// A file's failure message: %1 in pattern becomes the path as the system writes
// it, %2 the reason; the text ends with a full stop.
[[nodiscard]] QString FileFailureText(const QString& pattern, const QString& path,
                                      const QString& reason);
