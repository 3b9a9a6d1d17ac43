#pragma once

#include <QDialog>

#include <memory>

class QGroupBox;
class QLabel;
class QPushButton;

class clsValidator;

namespace platform {
class TextBox;
}

// The graph window's four axis ranges.
struct AxisScales {
    double xMax = 0;
    double xMin = 0;
    double yMax = 0;
    double yMin = 0;
};

// The Axis Scales dialog: a working copy of the ranges it is given, edited in four boxes.
// OK closes it with ranges symmetric about zero (the maxima decide), which its owner reads
// from Scales().
class diaFunctions : public QDialog
{
    Q_OBJECT

public:
    explicit diaFunctions(const AxisScales &scales, QWidget *parent = nullptr);
    ~diaFunctions() override;

    AxisScales Scales() const { return m_scales; }

    QGroupBox *fraAxis;
    QLabel *lblXMin;
    platform::TextBox *txtXMin;
    QLabel *lblXMax;
    platform::TextBox *txtXMax;
    QLabel *lblYMin;
    platform::TextBox *txtYMin;
    QLabel *lblYMax;
    platform::TextBox *txtYMax;
    QPushButton *OKButton;
    QPushButton *CancelButton;

    // Event handlers.
    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void txtXMax_LostFocus();
    void txtXMin_LostFocus();
    void txtYMax_LostFocus();
    void txtYMin_LostFocus();
    void OKButton_Click();
    void CancelButton_Click();

    void done(int result) override;

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    enum class Sign { Absolute, Kept };
    void cleanBox(platform::TextBox *box, double &working, Sign sign);

    AxisScales m_scales;
    double dXMax = 0;
    double dXMin = 0;
    double dYMax = 0;
    double dYMin = 0;
    std::unique_ptr<clsValidator> objValidator;
};
