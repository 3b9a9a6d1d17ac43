#include "main/frmMain.h"
#include "platform/Program.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    platform::PrepareApplication();

    frmMain form;
    form.show();
    return QApplication::exec();
}
