// The IDE's entry: the command line, the application, its title and the main window.
#include <cstdio>

#include "ui/app/application.h"
#include "ui/app/idecommandline.h"
#include "ui/mainwindow/main.h"
#include "ui/app/style.h"

namespace {

constexpr int kUsageError = 2;

void Write(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}

// The arguments as given, before the application takes the toolkit's options out.
QStringList RawArguments(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace

int main(int argc, char* argv[])
{
    // --help and --version are answered before the application exists, so they
    // need no display. The toolkit's options are unknown here and not yet a fault.
    const TIdeCommandLine early = TIdeCommandLine::Parse(RawArguments(argc, argv));
    if (early.Help() || early.Version()) {
        Write(stdout, early.Help() ? TIdeCommandLine::Usage() : TIdeCommandLine::VersionText());
        return 0;
    }
    // Made before the application installs the toolkit's Russian texts.
    const QString usage = TIdeCommandLine::Usage();

    TVeskApplication app(argc, argv);
    const TIdeCommandLine options = TIdeCommandLine::Parse(QCoreApplication::arguments().mid(1));
    if (!options.Error().isEmpty()) {
        Write(stderr, QStringLiteral("vesk: %1\n").arg(options.Error()) + usage);
        return kUsageError;
    }
    // Ties the windows to the installed desktop entry (the Wayland app id).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vesk_lang.vesk"));
    TVeskApplication::SetTitle(QStringLiteral("Vesk"));
    ApplyApplicationStyle(app);
    TfMain window(options.Files());
    window.show();
    return app.exec();
}
