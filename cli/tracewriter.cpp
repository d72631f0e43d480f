#include "tracewriter.h"

#include <QFile>

#include <cerrno>

#include "formats/systemreason.h"

namespace {

void AppendUtf8(std::string& out, const std::u16string& text)
{
    out += QString::fromStdU16String(text).toStdString();
}

} // namespace

TTraceWriter::TTraceWriter(const QString& path)
    : _path(path), _file(std::fopen(QFile::encodeName(path).constData(), "wb"), &std::fclose)
{
    if (!_file)
        Fail(errno);
}

std::string TTraceWriter::Line(const TTraceStep& step)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string line = std::to_string(step.step);
    line += '\t';
    line += std::to_string(step.line);
    line += '\t';
    line += std::to_string(step.column);
    line += '\t';
    AppendUtf8(line, step.op);
    line += '\t';
    AppendUtf8(line, step.cell);
    line += '\t';
    if (!step.cell.empty()) {
        line += kHex[step.value >> 4];
        line += kHex[step.value & 15];
    }
    return line;
}

bool TTraceWriter::Write(const TTraceStep& step)
{
    if (!_file)
        return false;
    std::string line = Line(step);
    line += '\n';
    if (std::fwrite(line.data(), 1, line.size(), _file.get()) != line.size()) {
        Fail(errno);
        return false;
    }
    return true;
}

bool TTraceWriter::Close()
{
    if (!_file)
        return false;
    std::FILE* file = _file.release();
    const bool flushed = std::fflush(file) == 0 && std::ferror(file) == 0;
    const int error = errno;
    const bool closed = std::fclose(file) == 0;
    if (!flushed || !closed) {
        Fail(flushed ? errno : error);
        return false;
    }
    return _error.isEmpty();
}

void TTraceWriter::Fail(int error)
{
    if (_error.isEmpty())
        _error = QStringLiteral("cannot write the trace '%1': %2").arg(_path, SystemReason(error));
}
