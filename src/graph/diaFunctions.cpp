#include "graph/diaFunctions.h"

#include "input/clsValidator.h"
#include "platform/Controls.h"
#include "platform/Conversions.h"
#include "platform/Program.h"
#include "platform/TextBox.h"

#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <cmath>

using platform::DesignFont;
using platform::Typeface;

diaFunctions::diaFunctions(const AxisScales &scales, QWidget *parent)
    : QDialog(parent, platform::FixedDialogFlags), m_scales(scales)
{
    setObjectName(QStringLiteral("diaFunctions"));
    platform::SetupForm(this, QStringLiteral("Axis Scales"), 3255, 3345);
    setFixedSize(size());

    using platform::MakeLabel;
    using platform::MakeTextBox;
    const QFont labelFont = DesignFont(Typeface::SansSerif, 9.75);
    fraAxis = platform::MakeFrame(this, "fraAxis", "Axis", {360, 240, 2415, 2295},
                                  DesignFont(Typeface::SansSerif, 9.75, platform::Bold));
    lblXMin = MakeLabel(fraAxis, "lblXMin", "XMin:", {240, 360, 600, 255}, labelFont);
    txtXMin = MakeTextBox(fraAxis, "txtXMin", {840, 360, 1215, 285});
    lblXMax = MakeLabel(fraAxis, "lblXMax", "XMax:", {240, 840, 600, 255}, labelFont);
    txtXMax = MakeTextBox(fraAxis, "txtXMax", {840, 840, 1215, 285});
    lblYMin = MakeLabel(fraAxis, "lblYMin", "YMin:", {240, 1320, 600, 255}, labelFont);
    txtYMin = MakeTextBox(fraAxis, "txtYMin", {840, 1320, 1215, 285});
    lblYMax = MakeLabel(fraAxis, "lblYMax", "YMax:", {240, 1800, 600, 255}, labelFont);
    txtYMax = MakeTextBox(fraAxis, "txtYMax", {840, 1800, 1215, 285});
    platform::LabelFields({{lblXMin, txtXMin}, {lblXMax, txtXMax}, {lblYMin, txtYMin},
                           {lblYMax, txtYMax}});

    OKButton = platform::MakeButton(this, "OKButton", "OK", {240, 2760, 1215, 375});
    CancelButton = platform::MakeButton(this, "CancelButton", "Cancel", {1800, 2760, 1215, 375});
    // Neither button reacts to Enter.
    for (QPushButton *button : {OKButton, CancelButton}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    const QList<QWidget *> order = {txtXMin, txtXMax, txtYMin, txtYMax, OKButton, CancelButton};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    connect(txtXMax, &platform::TextBox::LostFocus, this, &diaFunctions::txtXMax_LostFocus);
    connect(txtXMin, &platform::TextBox::LostFocus, this, &diaFunctions::txtXMin_LostFocus);
    connect(txtYMax, &platform::TextBox::LostFocus, this, &diaFunctions::txtYMax_LostFocus);
    connect(txtYMin, &platform::TextBox::LostFocus, this, &diaFunctions::txtYMin_LostFocus);
    connect(OKButton, &QPushButton::clicked, this, &diaFunctions::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &diaFunctions::CancelButton_Click);

    Form_Load();
    txtXMin->setFocus(Qt::OtherFocusReason);
}

diaFunctions::~diaFunctions()
{
    platform::ReleaseTextBoxes(this);
}

void diaFunctions::Form_Load()
{
    objValidator = std::make_unique<clsValidator>();
}

void diaFunctions::Form_Activate()
{
    dXMax = m_scales.xMax;
    dXMin = m_scales.xMin;
    dYMax = m_scales.yMax;
    dYMin = m_scales.yMin;
}

void diaFunctions::Form_Unload()
{
    objValidator.reset();
}

bool diaFunctions::event(QEvent *event)
{
    // The dialog shows no other window, so it becomes active once per opening.
    if (platform::BecameActive(this, event))
        Form_Activate();
    return QDialog::event(event);
}

void diaFunctions::keyPressEvent(QKeyEvent *event)
{
    // Esc does not close the dialog.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void diaFunctions::done(int result)
{
    Form_Unload();
    QDialog::done(result);
}

void diaFunctions::cleanBox(platform::TextBox *box, double &working, Sign sign)
{
    // The focus also leaves a box while the dialog is closing, after Form_Unload.
    if (!objValidator)
        return;
    if (const auto value = CleanToNumber(*objValidator, box)) {
        working = sign == Sign::Absolute ? std::fabs(*value) : *value;
        box->setText(platform::NumberToText(working));
    }
}

void diaFunctions::txtXMax_LostFocus()
{
    cleanBox(txtXMax, dXMax, Sign::Absolute);
}

void diaFunctions::txtXMin_LostFocus()
{
    cleanBox(txtXMin, dXMin, Sign::Kept);
}

void diaFunctions::txtYMax_LostFocus()
{
    cleanBox(txtYMax, dYMax, Sign::Absolute);
}

void diaFunctions::txtYMin_LostFocus()
{
    cleanBox(txtYMin, dYMin, Sign::Kept);
}

void diaFunctions::OKButton_Click()
{
    m_scales = {dXMax, -dXMax, dYMax, -dYMax};
    accept();
}

void diaFunctions::CancelButton_Click()
{
    reject();
}
