// vesk-run --trace: one tab-separated line per step, streamed to a file as the
// run goes, so that a long trace is never held in memory.
#pragma once

#include <QString>

#include <cstdio>
#include <memory>
#include <string>

#include "veskrunner.h"

class TTraceWriter {
public:
    // Opens (creates or empties) the file; Error() says why it could not.
    explicit TTraceWriter(const QString& path);

    // One line: step, line, column, operator, cell, value (two hex digits,
    // empty with the cell when there is no current cell). False once a write failed.
    bool Write(const TTraceStep& step);
    // Flushes and closes; false when anything was lost.
    bool Close();
    [[nodiscard]] const QString& Error() const { return _error; }

    // The line Write puts out, without its line break.
    [[nodiscard]] static std::string Line(const TTraceStep& step);

private:
    void Fail(int error);

    QString _path;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> _file;
    QString _error;
};
