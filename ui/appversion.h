// The program's version, read back from the resource built into the executable.
#pragma once

#include <QByteArray>
#include <QString>

// "major.minor.release.build" in decimal, or empty when the resource is missing
// or unreadable.
[[nodiscard]] QString GetAppVersion();
// The same from the resource's bytes.
[[nodiscard]] QString VersionTextFromResource(const QByteArray& data);
