#include "main/frmMain.h"

#include "calc/modCalc.h"
#include "calc/modGrid.h"
#include "graph/frmGraph.h"
#include "info/diaHelp.h"
#include "info/diaStore.h"
#include "info/diaTech.h"
#include "info/frmAbout.h"
#include "input/EquationPanel.h"
#include "input/clsValidator.h"
#include "input/diaOptions.h"
#include "platform/Colours.h"
#include "platform/Controls.h"
#include "platform/Conversions.h"
#include "platform/FlexGrid.h"
#include "platform/Program.h"
#include "platform/ScriptControl.h"
#include "platform/TextBox.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

using platform::DesignFont;
using platform::Typeface;

namespace {

frmMain *g_instance = nullptr;

constexpr int ClientHeight = 8235;

// A keypad button of a control array: its index, caption and place in twips, and the name a
// screen reader speaks where the caption does not say what the key does.
struct KeyDef {
    int index;
    const char *caption;
    int left, top, width;
    const char *spoken = nullptr;
};

constexpr KeyDef IntrinsicKeys[] = {
    {0, "Abs", 120, 360, 615},  {1, "Atn", 960, 360, 615},  {2, "Cos", 120, 1104, 615},
    {3, "Exp", 960, 1104, 615}, {4, "Fix", 120, 1848, 615}, {5, "Int", 960, 1848, 615},
    {6, "Log", 120, 2592, 615}, {7, "Rnd", 960, 2592, 615}, {8, "Sgn", 120, 3336, 615},
    {9, "Sin", 960, 3336, 615}, {10, "Sqr", 120, 4080, 615}, {11, "Tan", 960, 4080, 615},
};

constexpr KeyDef OperatorKeys[] = {
    {0, "^", 240, 360, 495, "Exponent"},
    {1, "*", 240, 840, 495, "Multiply"},
    {2, "/", 240, 1320, 495, "Divide"},
    {3, "+", 840, 360, 495, "Add"},
    {4, "-", 840, 840, 495, "Subtract"},
    {5, "\\", 840, 1320, 495, "Integer divide"},
    {6, "%", 1440, 360, 495, "Mod"},
    {7, "(", 1440, 840, 495, "Open parenthesis"},
    {8, ")", 1440, 1320, 495, "Close parenthesis"},
    {9, "Neg", 240, 1800, 1095, "Negation"},
};

// The middle row reads 6, 5, 4 from left to right.
constexpr KeyDef NumberKeys[] = {
    {7, "7", 240, 360, 495},  {8, "8", 840, 360, 495},  {9, "9", 1440, 360, 495},
    {6, "6", 240, 840, 495},  {5, "5", 840, 840, 495},  {4, "4", 1440, 840, 495},
    {1, "1", 240, 1320, 495}, {2, "2", 840, 1320, 495}, {3, "3", 1440, 1320, 495},
    {0, "0", 1440, 1800, 495},
};

} // namespace

frmMain::frmMain()
    : m_scControl(std::make_unique<platform::ScriptControl>())
{
    platform::BeginProgram();
    g_instance = this;
    setObjectName(QStringLiteral("frmMain"));
    platform::PrepareMainWindow(this, platform::ButtonFace);

    createControls();
    createKeypad();
    createMenus();
    // The modules evaluate in this window's engine and write to its grid.
    modCalc::UseEngine(m_scControl.get());
    modGrid::UseGrid(msGrid);
    platform::FinishMainWindow(this, platform::AppTitle(), platform::EquationWindowWidth, ClientHeight);
    setTabOrder();
    connectHandlers();
    Form_Load();
    txtFrom->setFocus(Qt::OtherFocusReason);
}

frmMain::~frmMain()
{
    platform::ReleaseTextBoxes(this);
    if (g_instance == this) {
        g_instance = nullptr;
        modCalc::UseEngine(nullptr);
    }
}

frmMain *frmMain::instance()
{
    return g_instance;
}

void frmMain::createControls()
{
    QWidget *client = centralWidget();
    const QFont frameFont = DesignFont(Typeface::SansSerif, 9.75, platform::Bold);
    const QFont labelFont = DesignFont(Typeface::SansSerif, 9.75);
    using platform::MakeFrame;
    using platform::MakeLabel;
    using platform::MakeTextBox;

    fraValues = MakeFrame(client, "fraValues", QLatin1String(platform::ValuesCaption), {0, 120, 2415, 1455}, frameFont);
    lblFrom_1 = MakeLabel(fraValues, "lblFrom_1", "Start:", {315, 240, 450, 240}, labelFont);
    lblTo_1 = MakeLabel(fraValues, "lblTo_1", "End:", {360, 600, 405, 240}, labelFont);
    lblInc = MakeLabel(fraValues, "lblInc", "Inc:", {480, 960, 300, 240}, labelFont);
    txtFrom = MakeTextBox(fraValues, "txtFrom", {1080, 240, 1000, 285}, platform::DefaultFont(), Qt::AlignRight);
    txtTo = MakeTextBox(fraValues, "txtTo", {1080, 600, 1000, 285}, platform::DefaultFont(), Qt::AlignRight);
    txtInc = MakeTextBox(fraValues, "txtInc", {1080, 960, 1000, 285}, platform::DefaultFont(), Qt::AlignRight);

    const input::EquationPanel equations = input::MakeEquationPanel(client, {2640, 120, 8655, 1455}, "txtFunc");
    fraFunctions = equations.frame;
    lblEqua = equations.labels;
    txtFunc = equations.boxes;
    lblInst = equations.instruction;

    fraIntrinsics = MakeFrame(client, "fraIntrinsics", " Functions", {0, 1680, 1695, 4815}, frameFont);
    fraOperators = MakeFrame(client, "fraOperators", "Operators", {1800, 1680, 2175, 2415}, frameFont);
    fraNumerics = MakeFrame(client, "fraNumerics", "Numbers", {1800, 4200, 2175, 2295}, frameFont);
    fraEdit = MakeFrame(client, "fraEdit", QString(), {0, 6600, 3975, 735});
    fraEvals = MakeFrame(client, "fraEvals", "Evaluations", {4200, 1680, 7095, 5895}, frameFont);

    msGrid = platform::Place(new platform::FlexGrid(fraEvals), "msGrid", {120, 360, 6855, 5415},
                             platform::DefaultFont());
    msGrid->setAccessibleName(fraEvals->title());
    platform::LabelFields({{lblFrom_1, txtFrom}, {lblTo_1, txtTo}, {lblInc, txtInc}});

    const QFont bigBold = DesignFont(Typeface::SansSerif, 12, platform::Bold);
    cmdEvaluate = platform::MakeButton(client, "cmdEvaluate", "E&valuate", {480, 7560, 1335, 495}, bigBold);
    cmdGraph = platform::MakeButton(client, "cmdGraph", "&Graph", {2040, 7560, 1335, 495}, bigBold);
    cmdVisit = platform::MakeButton(client, "cmdVisit", "Click on me to visit our store!",
                                    {5520, 7680, 3975, 375},
                                    DesignFont(Typeface::SansSerif, 9.75, platform::Bold | platform::Italic));
    cmdVisit->setVisible(false);
    cmdVisit->setEnabled(false);
    cmdExit = platform::MakeButton(client, "cmdExit", "E&xit", {10080, 7680, 1215, 375});
}

void frmMain::createKeypad()
{
    using platform::ArrayName;
    using platform::MakeButton;
    const QFont keyFont = DesignFont(Typeface::SansSerif, 9.75, platform::Bold);
    for (const KeyDef &k : IntrinsicKeys)
        cmdIntrinsic[k.index] = MakeButton(fraIntrinsics, ArrayName("cmdIntrinsic", k.index), k.caption,
                                           {k.left, k.top, k.width, 495}, keyFont);
    const QFont operatorFont = DesignFont(Typeface::Verdana, 12, platform::Bold);
    for (const KeyDef &k : OperatorKeys) {
        cmdOperators[k.index] = MakeButton(fraOperators, ArrayName("cmdOperators", k.index), k.caption,
                                           {k.left, k.top, k.width, 375}, operatorFont);
        cmdOperators[k.index]->setAccessibleName(QLatin1String(k.spoken));
    }
    cmdArgument = MakeButton(fraOperators, "cmdArgument", "X", {1440, 1800, 495, 375},
                             DesignFont(Typeface::Serif, 9.75, platform::Bold));
    for (const KeyDef &k : NumberKeys)
        cmdNumbers[k.index] = MakeButton(fraNumerics, ArrayName("cmdNumbers", k.index), k.caption,
                                         {k.left, k.top, k.width, 375}, keyFont);
    cmdPeriod = MakeButton(fraNumerics, "cmdPeriod", ".", {240, 1800, 1095, 375},
                           DesignFont(Typeface::Verdana, 9.75, platform::Bold));
    cmdPeriod->setAccessibleName(QStringLiteral("Decimal point"));
    const QFont editFont = DesignFont(Typeface::SansSerif, 8.25, platform::Bold);
    cmdClear = MakeButton(fraEdit, "cmdClear", "CLR", {240, 240, 615, 375}, editFont);
    cmdDelete = MakeButton(fraEdit, "cmdDelete", "DEL", {1620, 240, 615, 375}, editFont);
    cmdBS = MakeButton(fraEdit, "cmdBS", "BS", {3000, 240, 615, 375}, editFont);
    cmdClear->setAccessibleName(QStringLiteral("Clear"));
    cmdClear->setAccessibleDescription(QStringLiteral("Empties the field"));
    cmdDelete->setAccessibleName(QStringLiteral("Delete"));
    cmdDelete->setAccessibleDescription(QStringLiteral("Deletes the selection or the character after the caret"));
    cmdBS->setAccessibleName(QStringLiteral("Backspace"));
    cmdBS->setAccessibleDescription(QStringLiteral("Deletes the selection or the character before the caret"));
}

void frmMain::createMenus()
{
    auto item = [this](QMenu *menu, const char *name, const QString &caption) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    auto separator = [](QMenu *menu, const char *name) {
        QAction *action = menu->addSeparator();
        action->setObjectName(QLatin1String(name));
        return action;
    };
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));
    mnuFile = bar->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuExit = item(mnuFile, "mnuExit", QStringLiteral("E&xit"));
    mnuOptions = bar->addMenu(QStringLiteral("&Options"));
    mnuOptions->setObjectName(QStringLiteral("mnuOptions"));
    mnuPlaces = item(mnuOptions, "mnuPlaces", QStringLiteral("&Decimal Places"));
    mnuHelp = bar->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpTopics = item(mnuHelp, "mnuHelpTopics", QStringLiteral("&Help Topics"));
    mnuHelpSep1 = separator(mnuHelp, "mnuHelpSep1");
    mnuTechSupport = item(mnuHelp, "mnuTechSupport", QStringLiteral("&Tech Support"));
    mnuHelpSep2 = separator(mnuHelp, "mnuHelpSep2");
    mnuStore = item(mnuHelp, "mnuStore", QStringLiteral("&Visit Our Store"));
    mnuSep3 = separator(mnuHelp, "mnuSep3");
    mnuAbout = item(mnuHelp, "mnuAbout", QStringLiteral("&ABout ") + platform::AppTitle());
}

void frmMain::setTabOrder()
{
    QList<QWidget *> order = {txtFrom, txtTo, txtInc};
    for (platform::TextBox *box : txtFunc)
        order << box;
    for (QPushButton *b : cmdIntrinsic)
        order << b;
    for (QPushButton *b : cmdOperators)
        order << b;
    order << cmdArgument;
    for (QPushButton *b : cmdNumbers)
        order << b;
    order << cmdPeriod << cmdEvaluate << cmdExit << cmdClear << cmdDelete << cmdBS << cmdGraph << msGrid
          << cmdVisit;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void frmMain::connectHandlers()
{
    connect(cmdEvaluate, &QPushButton::clicked, this, &frmMain::cmdEvaluate_Click);
    connect(cmdGraph, &QPushButton::clicked, this, &frmMain::cmdGraph_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmMain::cmdExit_Click);
    connect(cmdVisit, &QPushButton::clicked, this, &frmMain::cmdVisit_Click);
    connect(mnuExit, &QAction::triggered, this, &frmMain::mnuExit_Click);
    connect(mnuPlaces, &QAction::triggered, this, &frmMain::mnuPlaces_Click);
    connect(mnuHelpTopics, &QAction::triggered, this, &frmMain::mnuHelpTopics_Click);
    connect(mnuTechSupport, &QAction::triggered, this, &frmMain::mnuTechSupport_Click);
    connect(mnuStore, &QAction::triggered, this, &frmMain::mnuStore_Click);
    connect(mnuAbout, &QAction::triggered, this, &frmMain::mnuAbout_Click);

    connect(txtFrom, &platform::TextBox::LostFocus, this, &frmMain::txtFrom_LostFocus);
    connect(txtTo, &platform::TextBox::LostFocus, this, &frmMain::txtTo_LostFocus);
    connect(txtInc, &platform::TextBox::LostFocus, this, &frmMain::txtInc_LostFocus);
    for (int i = 0; i < platform::EquationCount; ++i)
        connect(txtFunc[i], &platform::TextBox::LostFocus, this, [this, i] { txtFunc_LostFocus(i); });

    for (int i = 0; i < static_cast<int>(cmdNumbers.size()); ++i)
        connect(cmdNumbers[i], &QPushButton::clicked, this, [this, i] { cmdNumbers_Click(i); });
    for (int i = 0; i < static_cast<int>(cmdOperators.size()); ++i)
        connect(cmdOperators[i], &QPushButton::clicked, this, [this, i] { cmdOperators_Click(i); });
    for (int i = 0; i < static_cast<int>(cmdIntrinsic.size()); ++i)
        connect(cmdIntrinsic[i], &QPushButton::clicked, this, [this, i] { cmdIntrinsic_Click(i); });
    connect(cmdArgument, &QPushButton::clicked, this, &frmMain::cmdArgument_Click);
    connect(cmdPeriod, &QPushButton::clicked, this, &frmMain::cmdPeriod_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmMain::cmdClear_Click);
    connect(cmdBS, &QPushButton::clicked, this, &frmMain::cmdBS_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmMain::cmdDelete_Click);
}

void frmMain::Form_Load()
{
    m_decimalPlaces = platform::DefaultDecimalPlaces;
    m_validator = std::make_unique<clsValidator>();
    cmdVisit->setVisible(true);
    cmdVisit->setEnabled(true);
}

void frmMain::Form_Activate()
{
    platform::MoveForm(this, 0, 0);
    modGrid::GridAction(1);
}

void frmMain::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_validator.reset();
    platform::EndProgram();
}

bool frmMain::event(QEvent *event)
{
    if (platform::BecameActive(this, event))
        Form_Activate();
    return QMainWindow::event(event);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void frmMain::cmdExit_Click()
{
    close();
}

void frmMain::mnuExit_Click()
{
    close();
}

// Each window is created afresh, shown modally, and gone when it closes.
void frmMain::cmdGraph_Click()
{
    platform::ShowModal(new frmGraph(graphInputs()), this);
}

GraphInputs frmMain::graphInputs() const
{
    GraphInputs inputs{txtFrom->text(), txtTo->text(), {}};
    for (int i = 0; i < platform::EquationCount; ++i)
        inputs.equations[i] = txtFunc[i]->text();
    return inputs;
}

void frmMain::cmdVisit_Click()
{
    platform::ShowModal(new diaStore, this);
}

void frmMain::mnuHelpTopics_Click()
{
    platform::ShowModal(new diaHelp, this);
}

void frmMain::mnuTechSupport_Click()
{
    platform::ShowModal(new diaTech, this);
}

void frmMain::mnuStore_Click()
{
    platform::ShowModal(new diaStore, this);
}

void frmMain::mnuAbout_Click()
{
    platform::ShowModal(new frmAbout, this);
}

void frmMain::mnuPlaces_Click()
{
    auto *dialog = new diaOptions(m_decimalPlaces, this);
    platform::ShowDialog(dialog, this, [&] { m_decimalPlaces = dialog->DecimalPlaces(); });
}

// The range fields are cleaned to a number each time the user leaves one.
void frmMain::leaveRangeField(platform::TextBox *box, short kind)
{
    if (m_validator) {
        m_validator->SetCheck(box, kind);
        box->setTextKeepCaret(m_validator->GetTxtBox()->text());
    }
    m_editor.setCurrent(box, input::EntryEditor::Field::Range);
}

void frmMain::txtFrom_LostFocus()
{
    leaveRangeField(txtFrom, 1);
}

void frmMain::txtTo_LostFocus()
{
    leaveRangeField(txtTo, 1);
}

void frmMain::txtInc_LostFocus()
{
    leaveRangeField(txtInc, 2);
}

void frmMain::txtFunc_LostFocus(int Index)
{
    m_editor.setCurrent(txtFunc[Index], input::EntryEditor::Field::Equation);
}

// The keypad and editing buttons act on the field that last lost the focus.
void frmMain::cmdNumbers_Click(int Index)
{
    m_editor.insert(QString::number(Index));
}

void frmMain::cmdPeriod_Click()
{
    m_editor.insert(QStringLiteral("."));
}

void frmMain::cmdOperators_Click(int Index)
{
    m_editor.insertOperator(cmdOperators[Index]->text());
}

void frmMain::cmdArgument_Click()
{
    m_editor.insertArgument();
}

void frmMain::cmdIntrinsic_Click(int Index)
{
    m_editor.insertFunction(cmdIntrinsic[Index]->text());
}

void frmMain::cmdClear_Click()
{
    m_editor.clear();
}

void frmMain::cmdBS_Click()
{
    m_editor.backspace();
}

void frmMain::cmdDelete_Click()
{
    m_editor.deleteForward();
}
