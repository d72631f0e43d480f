// The IDE's entry: the application, its title and the main window.
#include "ui/application.h"
#include "ui/main.h"
#include "ui/style.h"

int main(int argc, char* argv[])
{
    TVeskApplication app(argc, argv);
    TVeskApplication::SetTitle(QStringLiteral("Vesk"));
    ApplyApplicationStyle(app);
    TfMain window(QCoreApplication::arguments().mid(1));
    window.show();
    return app.exec();
}
