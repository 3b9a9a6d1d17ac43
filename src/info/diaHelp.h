#pragma once

#include "info/InfoDialog.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace platform {
class TextBox;
}

// The Formula Tutor: the equation language's operators and built-in functions, the rules
// for entering equations and a worked example.
class diaHelp : public InfoDialog
{
    Q_OBJECT

public:
    diaHelp();

    QLabel *lblTitle;
    QPushButton *cmdExit;
    QGroupBox *fraOperators;
    QLabel *lblOpsSym;
    QLabel *lblOpsExpl;
    QLabel *lblOpsExm;
    QLabel *lblOpsSymbol;
    QLabel *lblOpsExplanation;
    QLabel *lblOpsExample;
    QGroupBox *fraFunctions;
    QLabel *Label4;
    QLabel *Label5;
    QLabel *Label6;
    QLabel *lblFuncSymbol;
    QLabel *lblFuncExplanation;
    QLabel *lblFuncExample;
    QGroupBox *fraExamples;
    QLabel *lblDescription;
    QGroupBox *fraValues;
    QLabel *lblFrom_1;
    QLabel *lbl_1;
    QLabel *lblTo_1;
    QLabel *lbl_2;
    QLabel *lblInc;
    platform::TextBox *txtInc;
    QGroupBox *fra_1;
    QLabel *lblEqua_1;
    QLabel *lbl_3;
    QLabel *lblEqua_2;
    QLabel *lbl_4;
    QLabel *lblEqua_3;
    QLabel *lbl_5;

    void Form_Activate();
    void cmdExit_Click();

protected:
    bool event(QEvent *event) override;
};
