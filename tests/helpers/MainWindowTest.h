#pragma once

#include "main/frmMain.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QWidget;

namespace testing {

// The fixture of the tests that drive a main window: each test function gets a new one,
// shown and active, and every wait still pending is dropped after it.
class MainWindowTest : public QObject
{
    Q_OBJECT

protected slots:
    void init();
    void cleanup();

protected:
    std::unique_ptr<frmMain> form;
};

// The object name of the widget with the focus: the application's, or the window's own focus
// widget when a window is given; empty when there is none.
QString FocusName(const QWidget *window = nullptr);

// The result grid's column headers: X's, then one for each equation.
QStringList GridHeaders();

} // namespace testing
