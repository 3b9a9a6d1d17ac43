#pragma once

#include "info/InfoDialog.h"

class QLabel;
class QPushButton;

// The support dialog: where to send questions and feedback.
class diaTech : public InfoDialog
{
    Q_OBJECT

public:
    diaTech();

    QLabel *Label1;
    QLabel *Label5;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label4;
    QPushButton *cmdOk;

    void cmdOk_Click();
};
