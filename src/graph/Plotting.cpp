// The Plot button's run: the grid, its labels and the axes, then every equation that is
// not empty as a row of blue points, evaluated through the window's own engine and drawn
// by the plot renderer.
#include "graph/frmGraph.h"

#include "graph/PlotRenderer.h"
#include "platform/Accessibility.h"
#include "platform/Conversions.h"
#include "platform/PictureBox.h"
#include "platform/Program.h"
#include "platform/ScriptControl.h"
#include "platform/TextBox.h"

#include <exception>
#include <string_view>
#include <vector>

using Handover = platform::ScriptControl::Handover;

namespace {

// What one equation drew in a run.
struct Tally {
    int number;   // 1 to 3
    QString text; // as its box held it when its drawing began
    int drawn = 0;
    int undefined = 0;
};

// The drawing area's description for screen readers: the range sampled, the axes as labelled, and for
// each equation the points it drew and the samples that had no value.
QString describePlot(double start, double end, double samples, const AxisScales &axes,
                     const std::vector<Tally> &tallies)
{
    using platform::NumberToText;
    QString text = QStringLiteral("X from %1 to %2 in %3; axes X %4 to %5, Y %6 to %7.")
                       .arg(NumberToText(start), NumberToText(end),
                            platform::Counted(static_cast<long long>(samples), "sample", "samples"),
                            NumberToText(axes.xMin), NumberToText(axes.xMax), NumberToText(axes.yMin),
                            NumberToText(axes.yMax));
    if (tallies.empty())
        text += QStringLiteral(" No equation plotted.");
    for (const Tally &t : tallies)
        text += QStringLiteral(" Equation %1, %2: %3, %4.")
                    .arg(QString::number(t.number), t.text, platform::Counted(t.drawn, "point drawn", "points drawn"),
                         platform::Counted(t.undefined, "sample undefined", "samples undefined"));
    return text;
}

} // namespace

void frmGraph::DrawAxes()
{
    PlotRenderer(*picPlot, &m_drawing).drawAxes(m_axes.xMax - m_axes.xMin, m_axes.yMax - m_axes.yMin);
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
    m_drawing = {};
    const double start = platform::LeadingNumber(txtFrom->text());
    const double end = platform::LeadingNumber(txtTo->text());
    DrawAxes();
    const AxisScales labelled = m_axes;
    m_scControl->Reset();
    PlotRenderer renderer(*picPlot, &m_drawing);
    const double n = PlotRenderer::sampleCount();

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
    std::vector<Tally> tallies;
    for (const Plotted &equation : equations) {
        if (equation.box->text().isEmpty())
            continue;
        Tally &tally = tallies.emplace_back(Tally{static_cast<int>(&equation - equations) + 1, equation.box->text()});
        setWindowTitle(QStringLiteral("Graphing: ") + equation.box->text());
        for (double i = 1; i <= n; i += 1) {
            platform::DoEvents();
            if (runMustStop()) {
                setWindowTitle(savedCaption);
                return;
            }
            const double X = (i / n) * (end - start) + start;
            const double Y = (this->*equation.value)(X);
            if (!EvalOK)
                ++tally.undefined;
            else if (Y >= m_axes.yMin && Y <= m_axes.yMax
                     && renderer.plotPoint(X, Y, m_axes.xMax - m_axes.xMin, m_axes.yMax - m_axes.yMin))
                ++tally.drawn;
        }
    }
    picPlot->setAccessibleDescription(describePlot(start, end, n, labelled, tallies));
    setWindowTitle(savedCaption);
    platform::AnnounceRunEnd(this, platform::Counted(static_cast<long long>(tallies.size()), "equation plotted",
                                                     "equations plotted"));
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
