#pragma once

#include "info/InfoDialog.h"
#include "platform/SystemInfo.h"

#include <array>

class QFrame;
class QLabel;
class QPushButton;

// The About box: the program's title, version and legal texts, and a button that starts
// the system's information tool.
class frmAbout : public InfoDialog
{
    Q_OBJECT

public:
    frmAbout();

    QLabel *picIcon;
    QLabel *lblTitle;
    QLabel *lblVersion;
    QLabel *lblCopyRight;
    QLabel *lblDescription;
    std::array<QFrame *, 2> Line1;
    QLabel *lblDisclaimer;
    QPushButton *cmdOK;
    QPushButton *cmdSysInfo;

    void Form_Load();
    void cmdOk_Click();
    void cmdSysInfo_Click();

    // Starts the System Information tool, or says that it is unavailable.
    void StartSysInfo();
    // Reads the value SubKeyRef of the key KeyName below KeyRoot into KeyVal; false when the
    // key or the value cannot be read (KeyVal is then empty).
    bool GetKeyValue(const platform::ConfigRoot &KeyRoot, const QString &KeyName, const QString &SubKeyRef,
                     QString &KeyVal);
};
