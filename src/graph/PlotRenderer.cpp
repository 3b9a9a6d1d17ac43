#include "graph/PlotRenderer.h"

#include "platform/Colours.h"
#include "platform/LabelForm.h"
#include "platform/Surface.h"

#include <QRgb>

#include <cfloat>
#include <cmath>

namespace {

const QRgb GridColour = platform::PlotGrid.rgb();
const QRgb AxisColour = platform::PlotAxis.rgb();
const QRgb PointColour = platform::PlotPoint.rgb();

// The grid's width in user units, which the axis ranges are spread over.
constexpr double GridSpan = 2 * PlotRenderer::GridHalf;

} // namespace

bool PlotRenderer::toScreen(double value, double range, float &screen)
{
    const double scaled = value * GridSpan / range;
    if (!(std::fabs(scaled) <= FLT_MAX))  // also false for NaN
        return false;
    screen = static_cast<float>(scaled);
    return true;
}

void PlotRenderer::setFrame(double xRange, double yRange)
{
    if (m_drawing) {
        m_drawing->axes = true;
        m_drawing->xRange = xRange;
        m_drawing->yRange = yRange;
    }
    m_surface.Scale(Left, Top, Right, Bottom);
}

void PlotRenderer::drawAxes(double xRange, double yRange)
{
    setFrame(xRange, yRange);
    m_surface.setDrawStyle(platform::Surface::DrawStyle::Dot);

    const double xStep = xRange / GridSpan;
    for (int k = -GridHalf; k <= GridHalf; ++k) {
        m_surface.Line(k, -GridHalf, k, GridHalf, GridColour);
        m_surface.setCurrentX(k);
        m_surface.setCurrentY(0);
        m_surface.Print(platform::LabelForm(k * xStep));
    }

    const double yStep = yRange / GridSpan;
    for (int k = -GridHalf; k <= GridHalf; ++k) {
        m_surface.Line(-GridHalf, k, GridHalf, k, GridColour);
        m_surface.setCurrentX(0);
        m_surface.setCurrentY(k);
        m_surface.Print(platform::LabelForm(k * yStep));
    }

    m_surface.setDrawStyle(platform::Surface::DrawStyle::Solid);
    m_surface.setDrawWidth(2);
    m_surface.Line(-GridHalf, 0, GridHalf, 0, AxisColour);
    m_surface.Line(0, GridHalf, 0, -GridHalf, AxisColour);
    m_surface.setDrawWidth(1);
}

bool PlotRenderer::plotPoint(double X, double Y, double xRange, double yRange)
{
    float screenX = 0;
    float screenY = 0;
    if (!toScreen(X, xRange, screenX) || !toScreen(Y, yRange, screenY))
        return false;
    setPoint(screenX, screenY);
    return true;
}

void PlotRenderer::setPoint(float x, float y)
{
    m_surface.PSet(x, y, PointColour);
    if (m_drawing)
        m_drawing->points.emplace_back(x, y);
}

void PlotRenderer::redraw(const Drawing &drawing)
{
    if (drawing.axes)
        drawAxes(drawing.xRange, drawing.yRange);
    for (const auto &[x, y] : drawing.points)
        setPoint(x, y);
}
