#pragma once

#include "input/EntryEditor.h"
#include "input/EquationPanel.h"

#include <QMainWindow>

#include <array>
#include <memory>

class QAction;
class QMenu;
class QPushButton;

class clsValidator;
struct GraphInputs;

namespace platform {
class FlexGrid;
class ScriptControl;
}

// The main window: range and equation fields, the keypad, the result grid and the
// script engine that evaluates the equations. Closing it ends the program.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    frmMain();
    ~frmMain() override;

    // The program's single main window (null when there is none).
    static frmMain *instance();

    short DecimalPlaces() const { return m_decimalPlaces; }
    void setDecimalPlaces(short places) { m_decimalPlaces = places; }

    // The range and equations a graph window opened now starts with.
    GraphInputs graphInputs() const;

    // Controls, named as the program names them.
    QGroupBox *fraValues;
    QLabel *lblFrom_1;
    QLabel *lblTo_1;
    QLabel *lblInc;
    platform::TextBox *txtFrom;
    platform::TextBox *txtTo;
    platform::TextBox *txtInc;
    QGroupBox *fraFunctions;
    // A label (lblEqua_1, ...) and a box for each equation; the first three boxes also by
    // their own names.
    std::array<QLabel *, platform::EquationCount> lblEqua;
    std::array<platform::TextBox *, platform::EquationCount> txtFunc;
    platform::TextBox *&txtFunc1 = txtFunc[0];
    platform::TextBox *&txtFunc2 = txtFunc[1];
    platform::TextBox *&txtFunc3 = txtFunc[2];
    QLabel *lblInst;
    QGroupBox *fraIntrinsics;
    QGroupBox *fraOperators;
    QGroupBox *fraNumerics;
    QGroupBox *fraEdit;
    QGroupBox *fraEvals;
    platform::FlexGrid *msGrid;
    QPushButton *cmdEvaluate;
    QPushButton *cmdGraph;
    QPushButton *cmdVisit;
    QPushButton *cmdExit;
    std::array<QPushButton *, 12> cmdIntrinsic;
    std::array<QPushButton *, 10> cmdOperators;
    QPushButton *cmdArgument;
    std::array<QPushButton *, 10> cmdNumbers;
    QPushButton *cmdPeriod;
    QPushButton *cmdClear;
    QPushButton *cmdDelete;
    QPushButton *cmdBS;

    QMenu *mnuFile;
    QAction *mnuExit;
    QMenu *mnuOptions;
    QAction *mnuPlaces;
    QMenu *mnuHelp;
    QAction *mnuHelpTopics;
    QAction *mnuHelpSep1;
    QAction *mnuTechSupport;
    QAction *mnuHelpSep2;
    QAction *mnuStore;
    QAction *mnuSep3;
    QAction *mnuAbout;

    platform::ScriptControl &scControl() { return *m_scControl; }

    // Event handlers.
    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void cmdEvaluate_Click();
    void cmdGraph_Click();
    void cmdExit_Click();
    void cmdVisit_Click();
    void mnuExit_Click();
    void mnuPlaces_Click();
    void mnuHelpTopics_Click();
    void mnuTechSupport_Click();
    void mnuStore_Click();
    void mnuAbout_Click();

    void txtFrom_LostFocus();
    void txtTo_LostFocus();
    void txtInc_LostFocus();
    void txtFunc_LostFocus(int Index);

    void cmdNumbers_Click(int Index);
    void cmdOperators_Click(int Index);
    void cmdIntrinsic_Click(int Index);
    void cmdArgument_Click();
    void cmdPeriod_Click();
    void cmdClear_Click();
    void cmdBS_Click();
    void cmdDelete_Click();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void createKeypad();
    void createMenus();
    void setTabOrder();
    void connectHandlers();

    // Tabulation run.
    bool ValidateRange();
    static int CountSteps(double start, double end, double inc);
    void leaveRangeField(platform::TextBox *box, short kind);

    short m_decimalPlaces = 0;
    std::unique_ptr<clsValidator> m_validator;
    input::EntryEditor m_editor;
    std::unique_ptr<platform::ScriptControl> m_scControl;
    unsigned m_runId = 0;       // identifies the newest tabulation run
    int m_runDepth = 0;         // tabulation runs on the stack (Evaluate during a run adds one)
    bool m_unloaded = false;
};
