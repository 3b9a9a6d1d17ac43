#include "info/diaStore.h"

#include "platform/Controls.h"
#include "platform/Program.h"
#include "platform/WebPage.h"

#include <QPushButton>

diaStore::diaStore()
    : InfoDialog(QStringLiteral("diaStore"), QStringLiteral("https://www.quarro.example/store"), 6030, 3195,
                 false)
{
    cmdVisit = platform::MakeButton(this, "cmdVisit", "Click on me to visit our store!", {480, 960, 5175, 495},
                                    platform::DesignFont(platform::Typeface::SansSerif, 9.75, platform::Bold));
    cmdExit = platform::MakeButton(this, "cmdExit", "E&xit", {4440, 2520, 1215, 375},
                                   platform::DesignFont(platform::Typeface::SansSerif, 9.75));
    QWidget::setTabOrder(cmdVisit, cmdExit);
    cmdVisit->setFocus();

    connect(cmdVisit, &QPushButton::clicked, this, &diaStore::cmdVisit_Click);
    connect(cmdExit, &QPushButton::clicked, this, &diaStore::cmdExit_Click);
}

void diaStore::cmdVisit_Click()
{
    // The browser runs on its own. When none can be started the user is told where the
    // store is, its address on a line of its own to be typed by hand, and the dialog closes
    // all the same.
    if (!platform::OpenWebPage(windowTitle()))
        platform::MsgBoxCritical(this, QStringLiteral("No web browser could be started. The store page is at:\n%1").arg(windowTitle()),
                                 platform::MessageTitle());
    accept();
}

void diaStore::cmdExit_Click()
{
    accept();
}
