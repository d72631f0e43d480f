// The one way the programs write a file: the project, the results window's save
// and vesk-run -o all go through it.
#pragma once

#include <QByteArrayView>
#include <QString>

// Writes bytes as the whole content of path and returns an empty text, or the
// message "Не удается сохранить файл "PATH". REASON" with the system's reason.
//
// A regular file is replaced only once the new content is complete (written
// beside it and renamed over it): a failure leaves the old file byte for byte. A
// symbolic link stays a link and the file it points to is replaced; a replaced
// file keeps its permissions. A writable file in a folder where no new file can
// be made is written in place. Anything else that exists (a device, a FIFO,
// /dev/stdout, a process substitution) is written in place, never replaced.
[[nodiscard]] QString WriteWholeFile(const QString& path, QByteArrayView bytes);

// "Не удается сохранить файл "PATH". REASON"
[[nodiscard]] QString WriteFailure(const QString& path, const QString& reason);
