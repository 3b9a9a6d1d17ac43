#pragma once

#include <QDialog>

#include <array>

class QGroupBox;
class QPushButton;
class QRadioButton;

// The decimal places dialog: one option per number of places, written back on "&Ok".
class diaOptions : public QDialog
{
    Q_OBJECT

public:
    explicit diaOptions(QWidget *parent = nullptr);

    QGroupBox *fraDecimal;
    std::array<QRadioButton *, 4> optDecimal;
    QPushButton *cmdOk;

    void Form_Activate();
    void cmdOk_Click();

protected:
    bool event(QEvent *event) override;
};
