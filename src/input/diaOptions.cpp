#include "input/diaOptions.h"

#include "platform/Controls.h"
#include "platform/Program.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include <iterator>

namespace {

constexpr const char *Captions[] = {"1 Place", "2 Places", "3 Places", "4 Places"};
static_assert(std::size(Captions) == platform::MostDecimalPlaces, "a caption for each option");

} // namespace

diaOptions::diaOptions(short places, QWidget *parent)
    : QDialog(parent, platform::FixedDialogFlags), m_places(places)
{
    setObjectName(QStringLiteral("diaOptions"));
    platform::SetupForm(this, QStringLiteral("Options"), 2925, 3195);
    setFixedSize(size());

    fraDecimal = platform::MakeFrame(this, "fraDecimal", "Set Decimal Places", {480, 240, 1935, 2175},
                                     platform::DesignFont(platform::Typeface::SansSerif, 8.25, platform::Bold));
    auto *group = new QButtonGroup(this);
    for (int i = 0; i < static_cast<int>(optDecimal.size()); ++i) {
        optDecimal[i] = platform::MakeOption(fraDecimal, platform::ArrayName("optDecimal", i),
                                             QLatin1String(Captions[i]), {360, 360 + 440 * i, 975, 255});
        group->addButton(optDecimal[i], i);
    }
    optDecimal[0]->setChecked(true);
    cmdOk = platform::MakeButton(this, "cmdOk", "&Ok", {840, 2640, 1095, 375});
    cmdOk->setAutoDefault(false);

    for (std::size_t i = 1; i < optDecimal.size(); ++i)
        QWidget::setTabOrder(optDecimal[i - 1], optDecimal[i]);
    QWidget::setTabOrder(optDecimal.back(), cmdOk);

    connect(cmdOk, &QPushButton::clicked, this, &diaOptions::cmdOk_Click);
}

bool diaOptions::event(QEvent *event)
{
    if (platform::BecameActive(this, event))
        Form_Activate();
    return QDialog::event(event);
}

void diaOptions::Form_Activate()
{
    platform::MoveForm(this, 500, 500);
    const int index = m_places - 1;
    if (index >= 0 && index < static_cast<int>(optDecimal.size())) {
        optDecimal[index]->setChecked(true);
        // The keyboard starts on the chosen option, so the arrow keys move the choice from there.
        optDecimal[index]->setFocus(Qt::OtherFocusReason);
    }
}

short diaOptions::DecimalPlaces() const
{
    for (short i = 0; i < static_cast<short>(optDecimal.size()); ++i) {
        if (optDecimal[i]->isChecked())
            return static_cast<short>(i + 1);
    }
    return m_places;
}

void diaOptions::cmdOk_Click()
{
    accept();
}
