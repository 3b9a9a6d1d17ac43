#pragma once

#include <utility>
#include <vector>

namespace platform {
class Surface;
}

// Draws the graph onto a surface (the picture box's retained picture, or a redrawing of it
// for a file or a printer): it sets the frame (the user scale of the drawing area), draws the
// grid with its labels and the axes, and sets the equations' points. toScreen is the one
// mapping from equation values into the frame; the surface takes frame coordinates to pixels.
class PlotRenderer
{
public:
    // The frame's corners in user units. The grid spans -GridHalf to GridHalf on both
    // axes, a line at every unit; the margin right and below holds the last labels.
    static constexpr double Left = -10;
    static constexpr double Top = 10;
    static constexpr double Right = 10.5;
    static constexpr double Bottom = -10.75;
    static constexpr int GridHalf = 10;
    static constexpr float SamplesPerUnit = 500;

    // Samples per equation: SamplesPerUnit over the frame's width, in single precision.
    static constexpr double sampleCount()
    {
        return static_cast<float>(Right - Left) * SamplesPerUnit;
    }

    // One coordinate of an equation value in the frame, as the single-precision value it
    // is drawn at: value * (2 * GridHalf) / range. False where the mapping has no such
    // value: a range of zero width, or a result beyond the single-precision range.
    static bool toScreen(double value, double range, float &screen);

    // What the picture shows since it was last cleared: whether the axes were drawn and
    // the ranges their labels read, and the points set, in the frame. It lets the picture
    // be drawn anew, as shapes and text, without evaluating the equations again.
    struct Drawing {
        bool axes = false;
        double xRange = 0;
        double yRange = 0;
        std::vector<std::pair<float, float>> points;

        // Nothing drawn; the points' storage stays for the next plot to fill again.
        void clear()
        {
            axes = false;
            xRange = 0;
            yRange = 0;
            points.clear();
        }
    };

    // Draws onto the surface; what it draws is also noted in the drawing, when given one.
    explicit PlotRenderer(platform::Surface &surface, Drawing *drawing = nullptr)
        : m_surface(surface), m_drawing(drawing)
    {
    }

    // Sets the frame, then draws the dotted grid, its labels (xRange and yRange are the
    // axis ranges the labels read) and the solid axes.
    void drawAxes(double xRange, double yRange);
    // Sets the frame only, for a surface that already shows the axes drawAxes draws for the
    // same ranges.
    void setFrame(double xRange, double yRange);
    // Sets the point of the value pair (X, Y) under the axis ranges and answers true; nothing
    // (false) where the mapping refuses either value.
    bool plotPoint(double X, double Y, double xRange, double yRange);
    // Draws again what the drawing notes.
    void redraw(const Drawing &drawing);

private:
    void setPoint(float x, float y);

    platform::Surface &m_surface;
    Drawing *m_drawing;
};
