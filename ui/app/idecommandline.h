// The IDE's command line: vesk [--help] [--version] [FILE]
#pragma once

#include <QString>
#include <QStringList>

class QCommandLineParser;

class TIdeCommandLine {
public:
    // Parses the arguments after the program's name. On a fault, Error() says why.
    [[nodiscard]] static TIdeCommandLine Parse(const QStringList& arguments);
    [[nodiscard]] static QString Usage();
    // "vesk" and the version of the running executable, one line.
    [[nodiscard]] static QString VersionText();

    [[nodiscard]] bool Help() const { return _help; }
    [[nodiscard]] bool Version() const { return _version; }
    // The arguments that are not options; the first names a project to load.
    [[nodiscard]] const QStringList& Files() const { return _files; }
    [[nodiscard]] const QString& Error() const { return _error; }

private:
    static void Describe(QCommandLineParser& parser);

    bool _help = false;
    bool _version = false;
    QStringList _files;
    QString _error;
};
