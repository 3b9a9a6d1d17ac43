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

#include <bit>
#include <cstdint>
#include <exception>
#include <optional>
#include <string_view>
#include <vector>

namespace {

// What one equation drew in a run.
struct Tally {
    int number;   // from 1
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
    const double xRange = m_axes.xMax - m_axes.xMin;
    const double yRange = m_axes.yMax - m_axes.yMin;
    PlotRenderer renderer(*picPlot, &m_drawing);
    // The same ranges (to the bit: -0 labels apart from 0) on a picture of the same size draw
    // the same axes: the picture they made last time is put back instead.
    const auto same = [](double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); };
    if (same(m_axesPicture.xRange, xRange) && same(m_axesPicture.yRange, yRange) && picPlot->ClsTo(m_axesPicture.image)) {
        renderer.setFrame(xRange, yRange);
        return;
    }
    picPlot->Cls();
    renderer.drawAxes(xRange, yRange);
    m_axesPicture = {picPlot->image(), xRange, yRange};
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
    m_drawing.clear();
    const double start = platform::LeadingNumber(txtFrom->text());
    const double end = platform::LeadingNumber(txtTo->text());
    DrawAxes();
    const AxisScales labelled = m_axes;
    m_scControl->Reset();
    PlotRenderer renderer(*picPlot, &m_drawing);
    const double n = PlotRenderer::sampleCount();

    platform::BusyPointer busy;
    std::vector<Tally> tallies;
    // X of each sample as handed to the engine: every equation samples the same X, so the
    // first one plotted works them out for all.
    std::vector<std::optional<script::Value>> xValues;
    xValues.reserve(static_cast<std::size_t>(n));
    for (int index = 0; index < platform::EquationCount; ++index) {
        const platform::TextBox *box = txtFunc_[index];
        if (box->text().isEmpty())
            continue;
        Tally &tally = tallies.emplace_back(Tally{index + 1, box->text()});
        setWindowTitle(QStringLiteral("Graphing: ") + box->text());
        for (double i = 1; i <= n; i += 1) {
            platform::DoEvents();
            if (runMustStop()) {
                setWindowTitle(savedCaption);
                return;
            }
            const double X = (i / n) * (end - start) + start;
            const auto sample = static_cast<std::size_t>(i) - 1;
            if (sample == xValues.size())
                xValues.push_back(platform::ScriptControl::XValue(X));
            const double Y = GraphValue(index, xValues[sample]);
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

double frmGraph::GraphValue(int index, const std::optional<script::Value> &X)
{
    const std::string &equation = m_equations[index];
    EvalOK = false;
    // An X without number text has no value to hand over: there is no value at it.
    if (!X)
        return 0;
    try {
        m_scControl->AssignX(*X);
        // The box's text as it stands now: an edit during the run counts from the next sample.
        // A box of blanks holds no equation: it has no value, as in the table.
        if (equation.empty())
            return 0;
        const double Y = m_scControl->Eval(std::string_view(equation)).toDouble();
        EvalOK = true;
        return Y;
    } catch (const std::exception &) {
        return 0;
    }
}
