#include "ui/app/idecommandline.h"

#include <QCommandLineParser>

#include "ui/app/appversion.h"

void TIdeCommandLine::Describe(QCommandLineParser& parser)
{
    // Single-dash long names, as the toolkit's own options (-platform, -style) are written.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("The Vesk programming environment: write, run and debug Vesk programs."));
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit.")});
    parser.addOption({{QStringLiteral("v"), QStringLiteral("version")},
                      QStringLiteral("Show the version and exit.")});
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("A project file (.veskp) to open; any further are ignored."),
        QStringLiteral("[FILE]"));
}

QString TIdeCommandLine::Usage()
{
    QCommandLineParser parser;
    Describe(parser);
    // The parser's own first line names the binary by the path it was started with.
    QString text = parser.helpText();
    text.replace(0, text.indexOf(u'\n'), QStringLiteral("Usage: vesk [options] [FILE]"));
    return text + QStringLiteral(
                      "\nThe toolkit's standard options, such as -platform, -style and -reverse, "
                      "are accepted too.\n");
}

QString TIdeCommandLine::VersionText() { return QStringLiteral("vesk ") + GetAppVersion() + u'\n'; }

TIdeCommandLine TIdeCommandLine::Parse(const QStringList& arguments)
{
    TIdeCommandLine options;
    QCommandLineParser parser;
    Describe(parser);
    // The parser expects the program's name in front; unknown options still
    // leave the known ones set, which the start-up relies on. Its own error
    // text would come in the interface's language, the help does not.
    if (!parser.parse(QStringList(QStringLiteral("vesk")) + arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        options._error = unknown.isEmpty() ? parser.errorText()
                                           : QStringLiteral("unknown option '%1'").arg(unknown.first());
    }
    options._help = parser.isSet(QStringLiteral("help"));
    options._version = parser.isSet(QStringLiteral("version"));
    options._files = parser.positionalArguments();
    return options;
}
