#include "input/EquationPanel.h"

#include "platform/TextBox.h"

#include <QGroupBox>
#include <QLabel>

#include <iterator>

namespace input {

namespace {

// The top of each equation's row in the frame, in twips.
constexpr int RowTops[] = {240, 600, 960};
static_assert(std::size(RowTops) == platform::EquationCount, "one row for each equation");

} // namespace

EquationPanel MakeEquationPanel(QWidget *client, platform::TwipsBox frameBox, const char *boxName)
{
    using platform::DesignFont;
    using platform::Typeface;
    const QFont labelFont = DesignFont(Typeface::SansSerif, 9.75);
    EquationPanel panel;
    panel.frame = platform::MakeFrame(client, QStringLiteral("fraFunctions"), QLatin1String(platform::FunctionsCaption),
                                      frameBox, DesignFont(Typeface::SansSerif, 9.75, platform::Bold));
    for (int i = 0; i < platform::EquationCount; ++i) {
        const QString number = QString::number(i + 1);
        panel.labels[i] = platform::MakeLabel(panel.frame, QStringLiteral("lblEqua_") + number,
                                              platform::EquationCaption(i), {240, RowTops[i], 1095, 255}, labelFont);
        panel.boxes[i] = platform::MakeTextBox(panel.frame, QLatin1String(boxName) + number,
                                               {1440, RowTops[i], 5040, 285});
        platform::LabelFields({{panel.labels[i], panel.boxes[i]}});
    }
    panel.instruction = platform::MakeLabel(panel.frame, QStringLiteral("lblInst"),
                                            QLatin1String(platform::InstructionText), {6720, 240, 1695, 975},
                                            labelFont);
    panel.instruction->setWordWrap(true);
    return panel;
}

} // namespace input
