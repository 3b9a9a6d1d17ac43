#include "graph/PlotRenderer.h"

#include "platform/LabelForm.h"
#include "platform/PictureBox.h"

#include <QRgb>

#include <cfloat>
#include <cmath>

namespace {

constexpr QRgb GridColour = qRgb(128, 0, 0);
constexpr QRgb AxisColour = qRgb(255, 0, 0);
constexpr QRgb PointColour = qRgb(0, 0, 255);

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

void PlotRenderer::drawAxes(double xRange, double yRange)
{
    m_pic.Scale(Left, Top, Right, Bottom);
    m_pic.setDrawStyle(platform::PictureBox::DrawStyle::Dot);

    const double xStep = xRange / GridSpan;
    for (int k = -GridHalf; k <= GridHalf; ++k) {
        m_pic.Line(k, -GridHalf, k, GridHalf, GridColour);
        m_pic.setCurrentX(k);
        m_pic.setCurrentY(0);
        m_pic.Print(platform::LabelForm(k * xStep));
    }

    const double yStep = yRange / GridSpan;
    for (int k = -GridHalf; k <= GridHalf; ++k) {
        m_pic.Line(-GridHalf, k, GridHalf, k, GridColour);
        m_pic.setCurrentX(0);
        m_pic.setCurrentY(k);
        m_pic.Print(platform::LabelForm(k * yStep));
    }

    m_pic.setDrawStyle(platform::PictureBox::DrawStyle::Solid);
    m_pic.setDrawWidth(2);
    m_pic.Line(-GridHalf, 0, GridHalf, 0, AxisColour);
    m_pic.Line(0, GridHalf, 0, -GridHalf, AxisColour);
    m_pic.setDrawWidth(1);
}

bool PlotRenderer::plotPoint(double X, double Y, double xRange, double yRange)
{
    float screenX = 0;
    float screenY = 0;
    if (!toScreen(X, xRange, screenX) || !toScreen(Y, yRange, screenY))
        return false;
    m_pic.PSet(screenX, screenY, PointColour);
    return true;
}
