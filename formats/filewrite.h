// The one way the programs write a file: the project, the results window's save
// and vesk-run -o all go through it.
#pragma once

#include <QByteArrayView>
#include <QString>

// What a write may go to. vesk-run -o writes through a FIFO or a device, as a
// command-line user means it; the IDE's saves take a regular file only and
// refuse anything else at once, so that a FIFO without a reader cannot hang it.
enum class TWriteTarget { AnyFile, RegularFile };

// Writes bytes as the whole content of path and returns an empty text, or the
// message "Не удается сохранить файл "PATH". REASON" with the system's reason.
//
// A regular file is replaced only once the new content is complete (written
// beside it and renamed over it): a failure leaves the old file byte for byte. A
// symbolic link stays a link and the file it points to is replaced; a replaced
// file keeps its permissions. A writable file in a folder where no new file can
// be made is written in place, once the space for the new content is reserved:
// without the space it stays untouched. Anything else that exists (a device, a
// FIFO, /dev/stdout, a process substitution) is written in place, never
// replaced, or refused for TWriteTarget::RegularFile.
[[nodiscard]] QString WriteWholeFile(const QString& path, QByteArrayView bytes,
                                     TWriteTarget target = TWriteTarget::AnyFile);

// "Не удается сохранить файл "PATH". REASON"
[[nodiscard]] QString WriteFailure(const QString& path, const QString& reason);
