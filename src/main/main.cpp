#include "main/frmMain.h"
#include "platform/Program.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(platform::AppTitle());
    QApplication::setApplicationVersion(QStringLiteral(TARNWICK_VERSION));
    QApplication::setStyle(QStringLiteral("Fusion"));

    frmMain form;
    form.show();
    return QApplication::exec();
}
