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

// The Axis Scales dialog: a working copy of the graph window's ranges, edited in four
// boxes and written back on OK as ranges symmetric about zero (the maxima decide).
class diaFunctions : public QDialog
{
    Q_OBJECT

public:
    explicit diaFunctions(QWidget *parent = nullptr);
    ~diaFunctions() override;

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

    double dXMax = 0;
    double dXMin = 0;
    double dYMax = 0;
    double dYMin = 0;
    std::unique_ptr<clsValidator> objValidator;
};
