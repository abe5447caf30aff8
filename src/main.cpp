#include "Velmo/TForm1.h"
#include "Velmo/VelmoApplication.h"

#include <QDir>

int main(int argc, char *argv[])
{
    VelmoApplication app(argc, argv);
    TForm1 Form1(QDir(QCoreApplication::applicationDirPath()).path() + '/');
    app.Fehlerbericht = [&Form1](const QString &text) { Form1.FehlerZeigen(text); };
    Form1.DialogeErzeugen();
    Form1.show();
    return app.exec();
}
