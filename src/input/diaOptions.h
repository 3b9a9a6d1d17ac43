#pragma once

#include "platform/Conversions.h"

#include <QDialog>

#include <array>

class QGroupBox;
class QPushButton;
class QRadioButton;

// The decimal places dialog: one option per number of places. It shows the places it is
// given; its owner reads DecimalPlaces() once "&Ok" has closed it.
class diaOptions : public QDialog
{
    Q_OBJECT

public:
    explicit diaOptions(short places, QWidget *parent = nullptr);

    // The places of the option that is chosen (1 to platform::MostDecimalPlaces).
    short DecimalPlaces() const;

    QGroupBox *fraDecimal;
    std::array<QRadioButton *, platform::MostDecimalPlaces> optDecimal;
    QPushButton *cmdOk;

    void Form_Activate();
    void cmdOk_Click();

protected:
    bool event(QEvent *event) override;

private:
    short m_places;
};
