#include "info/diaTech.h"

#include "platform/Colours.h"
#include "platform/Controls.h"

#include <QLabel>
#include <QPushButton>

namespace {

using platform::Bold;
using platform::DesignFont;
using platform::Typeface;

using platform::LightYellow;
using platform::Salmon;

QLabel *coloured(QWidget *parent, const QString &name, const QString &caption, platform::TwipsBox box,
                 qreal points, const QColor &colour)
{
    QLabel *label = platform::MakeLabel(parent, name, caption, box, DesignFont(Typeface::SansSerif, points, Bold));
    platform::SetBackColor(label, colour);
    return label;
}

} // namespace

diaTech::diaTech()
    : InfoDialog(QStringLiteral("diaTech"), QString(), 6030, 3195, false)
{
    platform::SetBackColor(this, platform::White);
    Label1 = coloured(this, "Label1", "For technical support or feedback", {960, 240, 4155, 300}, 12, LightYellow);
    Label5 = coloured(this, "Label5", "contact us at:", {960, 545, 4155, 300}, 12, LightYellow);
    Label2 = coloured(this, "Label2", "support@quarro.example", {1080, 1080, 3930, 420}, 13.5, Salmon);
    SetSingleBorder(Label2);
    Label2->adjustSize();
    Label3 = coloured(this, "Label3", "OR", {2880, 1560, 405, 300}, 12, LightYellow);
    Label3->adjustSize();
    Label4 = coloured(this, "Label4", "help@quarro.example", {1560, 2040, 2805, 420}, 13.5, Salmon);
    SetSingleBorder(Label4);
    Label4->adjustSize();
    cmdOk = platform::MakeButton(this, "cmdOk", "&Ok", {4920, 2640, 735, 375},
                                 DesignFont(Typeface::SansSerif, 9.75, Bold));
    cmdOk->setFocus();

    connect(cmdOk, &QPushButton::clicked, this, &diaTech::cmdOk_Click);
}

void diaTech::cmdOk_Click()
{
    accept();
}
