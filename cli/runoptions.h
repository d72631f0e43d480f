// The runner's command line: vesk-run [--json] [--max-steps N] [-o RESULTS] [--profile PROFILE] [--trace TRACE] FILE
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

class QCommandLineParser;

class TRunOptions {
public:
    // Parses the arguments after the program's name. On a fault, Error() says why.
    [[nodiscard]] static TRunOptions Parse(const QStringList& arguments);
    [[nodiscard]] static QString Usage();
    // "vesk-run" and the project's version, one line.
    [[nodiscard]] static QString VersionText();

    [[nodiscard]] bool Help() const { return _help; }
    [[nodiscard]] bool Version() const { return _version; }
    [[nodiscard]] bool Json() const { return _json; }
    [[nodiscard]] std::optional<std::uint64_t> MaxSteps() const { return _maxSteps; }
    [[nodiscard]] const QString& ResultsPath() const { return _resultsPath; }
    [[nodiscard]] const QString& ProfilePath() const { return _profilePath; }
    // Empty for no trace.
    [[nodiscard]] const QString& TracePath() const { return _tracePath; }
    [[nodiscard]] const QString& ProjectPath() const { return _projectPath; }
    [[nodiscard]] const QString& Error() const { return _error; }

private:
    static void Describe(QCommandLineParser& parser);
    void Fail(const QString& why);

    bool _help = false;
    bool _version = false;
    bool _json = false;
    std::optional<std::uint64_t> _maxSteps;
    QString _resultsPath;
    QString _profilePath;
    QString _tracePath;
    QString _projectPath;
    QString _error;
};
