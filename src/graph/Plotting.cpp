// The Plot button's run: the grid, its labels and the axes, then every equation that is
// not empty as a row of blue points, evaluated through the window's own engine.
#include "graph/frmGraph.h"

#include "platform/Conversions.h"
#include "platform/LabelForm.h"
#include "platform/PictureBox.h"
#include "platform/Program.h"
#include "platform/ScriptControl.h"
#include "platform/TextBox.h"

#include <cfloat>
#include <cmath>
#include <exception>
#include <string_view>

namespace {

using Handover = platform::ScriptControl::Handover;

constexpr QRgb GridColour = qRgb(128, 0, 0);
constexpr QRgb AxisColour = qRgb(255, 0, 0);
constexpr QRgb PointColour = qRgb(0, 0, 255);
constexpr float SamplesPerUnit = 500;

// The grid spans -10 to 10 user units on both axes.
constexpr double GridSpan = 20;

// One coordinate of the mapping from equation values to the user scale, as the
// single-precision value it is drawn at. False where the mapping has no such value:
// a range of zero width, or a result beyond the single-precision range.
bool toScreen(double value, double range, float &screen)
{
    const double scaled = value * GridSpan / range;
    if (!(std::fabs(scaled) <= FLT_MAX))  // also false for NaN
        return false;
    screen = static_cast<float>(scaled);
    return true;
}

} // namespace

void frmGraph::DrawAxes()
{
    platform::PictureBox &pic = *picPlot;
    pic.Scale(-10, 10, 10.5, -10.75);
    pic.setDrawStyle(platform::PictureBox::DrawStyle::Dot);

    const double xStep = (m_xAxisMax - m_xAxisMin) / 20;
    for (int k = -10; k <= 10; ++k) {
        pic.Line(k, -10, k, 10, GridColour);
        pic.setCurrentX(k);
        pic.setCurrentY(0);
        pic.Print(platform::LabelForm(k * xStep));
    }

    const double yStep = (m_yAxisMax - m_yAxisMin) / 20;
    for (int k = -10; k <= 10; ++k) {
        pic.Line(-10, k, 10, k, GridColour);
        pic.setCurrentX(0);
        pic.setCurrentY(k);
        pic.Print(platform::LabelForm(k * yStep));
    }

    pic.setDrawStyle(platform::PictureBox::DrawStyle::Solid);
    pic.setDrawWidth(2);
    pic.Line(-10, 0, 10, 0, AxisColour);
    pic.Line(0, 10, 0, -10, AxisColour);
    pic.setDrawWidth(1);
}

bool frmGraph::runMustStop() const
{
    return m_closePending || platform::ProgramEnding();
}

void frmGraph::cmdPlot_Click()
{
    {
        // A Plot that arrives together with the close does not start a run; nor does one
        // past the bound of nested runs.
        const platform::NestedRun nested(m_runDepth);
        if (runMustStop() || !nested.admitted())
            return;
        plotEquations();
    }
    // The close that came during the run happens now that no run works on the window.
    if (m_runDepth == 0 && m_closePending && !platform::ProgramEnding())
        close();
}

void frmGraph::plotEquations()
{
    const QString savedCaption = windowTitle();
    picPlot->Cls();
    const double start = platform::LeadingNumber(txtFrom->text());
    const double end = platform::LeadingNumber(txtTo->text());
    DrawAxes();
    m_scControl->Reset();
    const double n = static_cast<float>(picPlot->ScaleWidth()) * SamplesPerUnit;

    struct Plotted {
        platform::TextBox *box;
        double (frmGraph::*value)(double);
    };
    const Plotted equations[] = {
        {txtFunc_1, &frmGraph::GraphValue1},
        {txtFunc_2, &frmGraph::GraphValue2},
        {txtFunc_3, &frmGraph::GraphValue3},
    };

    platform::BusyPointer busy;
    for (const Plotted &equation : equations) {
        if (equation.box->text().isEmpty())
            continue;
        setWindowTitle(QStringLiteral("Graphing: ") + equation.box->text());
        for (double i = 1; i <= n; i += 1) {
            platform::DoEvents();
            if (runMustStop()) {
                setWindowTitle(savedCaption);
                return;
            }
            const double X = (i / n) * (end - start) + start;
            const double Y = (this->*equation.value)(X);
            if (Y < m_yAxisMin || Y > m_yAxisMax)
                continue;
            float screenX = 0;
            float screenY = 0;
            if (!toScreen(X, m_xAxisMax - m_xAxisMin, screenX) || !toScreen(Y, m_yAxisMax - m_yAxisMin, screenY))
                continue;
            if (EvalOK)
                picPlot->PSet(screenX, screenY, PointColour);
        }
    }
    setWindowTitle(savedCaption);
}

double frmGraph::GraphValue1(double X)
{
    return graphValue(txtFunc_1, m_equations[0], Handover::Statement, X);
}

double frmGraph::GraphValue2(double X)
{
    return graphValue(txtFunc_2, m_equations[1], Handover::Code, X);
}

double frmGraph::GraphValue3(double X)
{
    return graphValue(txtFunc_3, m_equations[2], Handover::Code, X);
}

double frmGraph::graphValue(platform::TextBox *box, EquationText &equation, Handover how, double X)
{
    EvalOK = true;
    try {
        m_scControl->AssignX(X, how);
        // The box is read at every sample; only a changed text is converted again.
        const QString text = box->text();
        if (text != equation.source) {
            equation.source = text;
            equation.trimmed = platform::TrimSpaces(text).toUtf8().toStdString();
        }
        // A box of blanks holds no equation: it has no value, as in the table.
        if (equation.trimmed.empty()) {
            EvalOK = false;
            return 0;
        }
        return m_scControl->Eval(std::string_view(equation.trimmed)).toDouble();
    } catch (const std::exception &) {
        EvalOK = false;
        return 0;
    }
}
