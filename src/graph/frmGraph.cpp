#include "graph/frmGraph.h"

#include "graph/PlotRenderer.h"
#include "input/EquationPanel.h"
#include "input/clsValidator.h"
#include "platform/Colours.h"
#include "platform/Controls.h"
#include "platform/Conversions.h"
#include "platform/PictureBox.h"
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

frmGraph *g_instance = nullptr;

constexpr int ClientHeight = 7935;

} // namespace

frmGraph::frmGraph(const GraphInputs &inputs)
    : m_inputs(inputs), m_scControl(std::make_unique<platform::ScriptControl>())
{
    g_instance = this;
    setObjectName(QStringLiteral("frmGraph"));
    platform::PrepareMainWindow(this, platform::White);

    createControls();
    createMenus();
    platform::FinishMainWindow(this, QStringLiteral("Plotwell"), platform::EquationWindowWidth, ClientHeight);
    setTabOrder();
    connectHandlers();
    Form_Load();
    txtFrom->setFocus(Qt::OtherFocusReason);
}

frmGraph::~frmGraph()
{
    platform::ReleaseTextBoxes(this);
    if (g_instance == this)
        g_instance = nullptr;
}

frmGraph *frmGraph::instance()
{
    return g_instance;
}

void frmGraph::createControls()
{
    QWidget *client = centralWidget();
    const QFont frameFont = DesignFont(Typeface::SansSerif, 9.75, platform::Bold);
    const QFont labelFont = DesignFont(Typeface::SansSerif, 9.75);
    using platform::MakeButton;
    using platform::MakeFrame;
    using platform::MakeLabel;
    using platform::MakeTextBox;

    fraValues = MakeFrame(client, "fraValues", QLatin1String(platform::ValuesCaption), {120, 120, 2295, 1335}, frameFont);
    lblFrom_1 = MakeLabel(fraValues, "lblFrom_1", "Start:", {315, 360, 450, 240}, labelFont);
    txtFrom = MakeTextBox(fraValues, "txtFrom", {960, 360, 1000, 285});
    lblTo_1 = MakeLabel(fraValues, "lblTo_1", "End:", {360, 840, 405, 240}, labelFont);
    txtTo = MakeTextBox(fraValues, "txtTo", {960, 840, 1000, 285});

    const input::EquationPanel equations = input::MakeEquationPanel(client, {2640, 120, 8655, 1335}, "txtFunc_");
    fraFunctions = equations.frame;
    lblEqua = equations.labels;
    txtFunc_ = equations.boxes;
    lblInst = equations.instruction;
    platform::LabelFields({{lblFrom_1, txtFrom}, {lblTo_1, txtTo}});

    picPlot = platform::Place(new platform::PictureBox(client), "picPlot", {240, 1560, 11175, 5655},
                              DesignFont(Typeface::SmallFonts, 6.75));
    // Screen readers read the picture by its description, which each Plot rewrites.
    picPlot->setAccessibleName(QStringLiteral("Graph"));
    picPlot->setAccessibleDescription(QStringLiteral("Nothing plotted yet."));
    picPlot->setRedraw([this](platform::Surface &surface) { PlotRenderer(surface).redraw(m_drawing); });

    cmdPlot = MakeButton(client, "cmdPlot", "&Plot", {120, 7440, 1575, 375}, labelFont);
    cmdExit = MakeButton(client, "cmdExit", "E&xit", {10200, 7440, 1095, 375}, labelFont);
}

void frmGraph::createMenus()
{
    auto item = [](QMenu *menu, const char *name, const QString &caption) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));
    mnuFiles = bar->addMenu(QStringLiteral("&Files"));
    mnuFiles->setObjectName(QStringLiteral("mnuFiles"));
    mnuExit = item(mnuFiles, "mnuExit", QStringLiteral("E&xit"));
    mnuOptions = bar->addMenu(QStringLiteral("&Options"));
    mnuOptions->setObjectName(QStringLiteral("mnuOptions"));
    mnuAxis = item(mnuOptions, "mnuAxis", QStringLiteral("&Axis"));
}

void frmGraph::setTabOrder()
{
    QList<QWidget *> order = {txtFrom, txtTo};
    for (platform::TextBox *box : txtFunc_)
        order << box;
    order << cmdPlot << cmdExit;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void frmGraph::connectHandlers()
{
    connect(cmdPlot, &QPushButton::clicked, this, &frmGraph::cmdPlot_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmGraph::cmdExit_Click);
    connect(mnuExit, &QAction::triggered, this, &frmGraph::mnuExit_Click);
    connect(mnuAxis, &QAction::triggered, this, &frmGraph::mnuAxis_Click);
    connect(txtFrom, &platform::TextBox::LostFocus, this, &frmGraph::txtFrom_LostFocus);
    connect(txtTo, &platform::TextBox::LostFocus, this, &frmGraph::txtTo_LostFocus);
    for (int i = 0; i < platform::EquationCount; ++i)
        connect(txtFunc_[i], &QLineEdit::textChanged, this,
                [this, i](const QString &text) { m_equations[i] = platform::TrimSpaces(text).toUtf8().toStdString(); });
}

void frmGraph::Form_Load()
{
    objValidator = std::make_unique<clsValidator>();
    m_axes = {10, -10, 10, -10};
    txtFrom->setText(m_inputs.start);
    txtTo->setText(m_inputs.end);
    for (int i = 0; i < platform::EquationCount; ++i)
        txtFunc_[i]->setText(m_inputs.equations[i]);
}

void frmGraph::Form_Activate()
{
    platform::MoveForm(this, 0, 0);
}

void frmGraph::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    objValidator.reset();
}

bool frmGraph::event(QEvent *event)
{
    if (platform::BecameActive(this, event))
        Form_Activate();
    return QMainWindow::event(event);
}

void frmGraph::closeEvent(QCloseEvent *event)
{
    // A plot run still on the stack works on this window: it stops at its next yield,
    // and the outermost run closes the window again once it has returned.
    if (m_runDepth > 0) {
        m_closePending = true;
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void frmGraph::cleanRangeField(platform::TextBox *box)
{
    // The focus also leaves a box while the window is closing, after Form_Unload.
    if (!objValidator)
        return;
    if (const auto value = CleanToNumber(*objValidator, box))
        box->setText(platform::NumberToText(*value));
}

void frmGraph::txtFrom_LostFocus()
{
    cleanRangeField(txtFrom);
}

void frmGraph::txtTo_LostFocus()
{
    cleanRangeField(txtTo);
}

void frmGraph::cmdExit_Click()
{
    close();
}

void frmGraph::mnuExit_Click()
{
    close();
}

void frmGraph::mnuAxis_Click()
{
    auto *dialog = new diaFunctions(m_axes, this);
    platform::ShowDialog(dialog, this, [&] { m_axes = dialog->Scales(); });
}
