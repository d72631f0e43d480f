// The one way the programs read a project file: the IDE's open and start-up
// and vesk-run's FILE.
#pragma once

#include <QString>

#include <cstdint>
#include <string>

// No project file is anywhere near this size; a larger file is refused before
// it is read, so that it can cost neither the time nor the memory.
inline constexpr std::int64_t kProjectFileCap = std::int64_t(256) << 20; // 256 MiB

struct TProjectRead {
    std::u16string text; // decoded, every line break "\n"
    QString error;       // empty when the file was read
};

// Reads and decodes a whole project file. Only a regular file of at most
// kProjectFileCap bytes is read: a folder, a FIFO or a device (/dev/zero) is
// refused at once, never waited for. The error reads
// "Не удается открыть файл "PATH". REASON".
[[nodiscard]] TProjectRead ReadProjectFile(const QString& path);
