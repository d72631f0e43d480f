// What the runner prints about a run: plain text or one JSON object.
#pragma once

#include <QByteArray>
#include <QString>

#include <string>
#include <vector>

#include "formats/results.h"
#include "veskrunner.h"

class TRunReport {
public:
    explicit TRunReport(const TRunOutcome& outcome);

    // The results lines, the time and the step count, each ended by "\n".
    [[nodiscard]] QString PlainResults() const;
    // The three-line error report, each line ended by "\n".
    [[nodiscard]] QString PlainError() const;
    // One line saying where the step limit stopped the run.
    [[nodiscard]] QString PlainLimit() const;
    [[nodiscard]] QByteArray Json() const;
    // The results file's bytes.
    [[nodiscard]] QByteArray ResultsFile() const;

private:
    [[nodiscard]] QString TimeString() const;

    const TRunOutcome& _outcome;
    std::vector<TResultRow> _rows;
};
