// The program's version, read back from the resource built into the executable.
#pragma once

#include <QByteArray>
#include <QString>

// Where the build puts the version resource (see resources/version.cmake).
inline constexpr char kVersionResource[] = ":/vesk/version";

// "major.minor.release.build" in decimal, or empty when the resource is missing
// or unreadable.
[[nodiscard]] QString GetAppVersion();
// The same from the resource's bytes: the tag "vesk-file-version" and two
// 32-bit words of eight hexadecimal digits each, major:minor and release:build
// (the first part in the high half), separated by blanks.
[[nodiscard]] QString VersionTextFromResource(const QByteArray& data);
