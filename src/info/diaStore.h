#pragma once

#include "info/InfoDialog.h"

class QPushButton;

// The store dialog: its caption is the store page's address, which the visit button opens
// in the user's web browser.
class diaStore : public InfoDialog
{
    Q_OBJECT

public:
    diaStore();

    QPushButton *cmdVisit;
    QPushButton *cmdExit;

    void cmdVisit_Click();
    void cmdExit_Click();
};
