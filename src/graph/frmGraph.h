#pragma once

#include "graph/PlotRenderer.h"
#include "graph/diaFunctions.h"
#include "input/EquationPanel.h"
#include "platform/ScriptControl.h"

#include <QImage>
#include <QMainWindow>
#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QMenu;
class QPushButton;

class clsValidator;

namespace platform {
class PictureBox;
}

// What a graph window starts with: the range and the equations as the main window holds them.
struct GraphInputs {
    QString start;
    QString end;
    std::array<QString, platform::EquationCount> equations;
};

// The graph window: its own copy of the range and the equations, the four axis
// ranges, the drawing area and a script engine of its own. Plot draws grid, axes and
// the equations as blue points.
class frmGraph : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmGraph(const GraphInputs &inputs = {});
    ~frmGraph() override;

    // The graph window that is open (null when there is none).
    static frmGraph *instance();

    // The axis ranges; written unchanged, shown at the next Plot.
    double XAxisMax() const { return m_axes.xMax; }
    void setXAxisMax(double dNewValue) { m_axes.xMax = dNewValue; }
    double XAxisMin() const { return m_axes.xMin; }
    void setXAxisMin(double dNewValue) { m_axes.xMin = dNewValue; }
    double YAxisMax() const { return m_axes.yMax; }
    void setYAxisMax(double dNewValue) { m_axes.yMax = dNewValue; }
    double YAxisMin() const { return m_axes.yMin; }
    void setYAxisMin(double dNewValue) { m_axes.yMin = dNewValue; }

    // Controls, named as the program names them.
    QGroupBox *fraValues;
    QLabel *lblFrom_1;
    platform::TextBox *txtFrom;
    QLabel *lblTo_1;
    platform::TextBox *txtTo;
    QGroupBox *fraFunctions;
    // A label (lblEqua_1, ...) and a box for each equation; the first three boxes also by
    // their own names.
    std::array<QLabel *, platform::EquationCount> lblEqua;
    std::array<platform::TextBox *, platform::EquationCount> txtFunc_;
    platform::TextBox *&txtFunc_1 = txtFunc_[0];
    platform::TextBox *&txtFunc_2 = txtFunc_[1];
    platform::TextBox *&txtFunc_3 = txtFunc_[2];
    QLabel *lblInst;
    platform::PictureBox *picPlot;
    QPushButton *cmdPlot;
    QPushButton *cmdExit;

    QMenu *mnuFiles;
    QAction *mnuExit;
    QMenu *mnuOptions;
    QAction *mnuAxis;

    platform::ScriptControl &scControl() { return *m_scControl; }

    // Event handlers.
    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void txtFrom_LostFocus();
    void txtTo_LostFocus();
    void cmdPlot_Click();
    void cmdExit_Click();
    void mnuExit_Click();
    void mnuAxis_Click();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void createMenus();
    void setTabOrder();
    void connectHandlers();
    void cleanRangeField(platform::TextBox *box);

    // Plotting.
    // Clears the picture to the grid, its labels and the axes of the axis ranges.
    void DrawAxes();
    void plotEquations();
    // The value of equation index at X, as ScriptControl::XValue hands X over; EvalOK tells
    // whether it has one.
    double GraphValue(int index, const std::optional<script::Value> &X);
    double GraphValue1(double X) { return GraphValue(0, platform::ScriptControl::XValue(X)); }
    double GraphValue2(double X) { return GraphValue(1, platform::ScriptControl::XValue(X)); }
    double GraphValue3(double X) { return GraphValue(2, platform::ScriptControl::XValue(X)); }
    bool runMustStop() const;

    GraphInputs m_inputs;
    AxisScales m_axes;
    bool EvalOK = false;
    std::unique_ptr<clsValidator> objValidator;
    std::unique_ptr<platform::ScriptControl> m_scControl;
    // Each equation box's text, trimmed and in UTF-8 for the engine: kept in step with the
    // box as it changes, so a sample neither reads nor converts the box's text.
    std::array<std::string, platform::EquationCount> m_equations;
    // What the drawing area shows, so that it can be saved and printed as shapes and text.
    PlotRenderer::Drawing m_drawing;
    // The picture as DrawAxes last drew it, axes only, and the axis ranges it was drawn for.
    struct AxesPicture {
        QImage image;
        double xRange = 0;
        double yRange = 0;
    } m_axesPicture;

    int m_runDepth = 0;          // plot runs on the stack (a nested Plot adds one)
    bool m_closePending = false; // closing waits until every run has stopped
    bool m_unloaded = false;
};
