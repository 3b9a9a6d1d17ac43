#pragma once

namespace platform {
class PictureBox;
}

// Draws the graph into a picture box's retained picture: it sets the frame (the user
// scale of the drawing area), draws the grid with its labels and the axes, and sets the
// equations' points. toScreen is the one mapping from equation values into the frame;
// the picture box takes frame coordinates to pixels.
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

    explicit PlotRenderer(platform::PictureBox &pic)
        : m_pic(pic)
    {
    }

    // Sets the frame, then draws the dotted grid, its labels (xRange and yRange are the
    // axis ranges the labels read) and the solid axes.
    void drawAxes(double xRange, double yRange);
    // Sets the point of the value pair (X, Y) under the axis ranges and answers true; nothing
    // (false) where the mapping refuses either value.
    bool plotPoint(double X, double Y, double xRange, double yRange);

private:
    platform::PictureBox &m_pic;
};
