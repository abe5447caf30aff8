#include "Velmo/VelmoStart.h"

#include "Velmo/TForm1.h"
#include "Velmo/VelmoApplication.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>

int VelmoMain(int argc, char *argv[], const std::function<void(TForm1 &)> &nachStart)
{
    VelmoApplication app(argc, argv);
    // The program speaks German; Qt's own dialogs and buttons do too.
    const auto qtTexte = QtTexteDeutsch(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    TForm1 Form1(QDir(QCoreApplication::applicationDirPath()).path() + '/');
    // The icon of the menu entry at the size of the title and task bar.
    app.setWindowIcon(QIcon(Form1.WorkDir + "Data/velmo64.png"));
    app.Fehlerbericht = [&Form1](const QString &text) { Form1.FehlerZeigen(text); };
    Form1.show();
    // A plan named on the command line opens as through "Öffnen".
    if (const QStringList argumente = app.arguments(); argumente.size() > 1)
        Geschuetzt(*Form1.Dialog, [&] { Form1.PlanOeffnen(QFileInfo(argumente[1]).absoluteFilePath()); });
    if (nachStart)
        nachStart(Form1);
    return app.exec();
}
