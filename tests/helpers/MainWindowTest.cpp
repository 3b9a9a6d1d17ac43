#include "helpers/MainWindowTest.h"

#include "helpers/ModalDriver.h"
#include "platform/Equations.h"

#include <QApplication>
#include <QtTest>

namespace testing {

void MainWindowTest::init()
{
    form = std::make_unique<frmMain>();
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
}

void MainWindowTest::cleanup()
{
    CancelPendingModals();
    form.reset();
}

QString FocusName(const QWidget *window)
{
    const QWidget *w = window ? window->focusWidget() : QApplication::focusWidget();
    return w ? w->objectName() : QString();
}

QStringList GridHeaders()
{
    QStringList headers = {QLatin1String(platform::ValuesCaption)};
    for (int i = 0; i < platform::EquationCount; ++i)
        headers << platform::ResultCaption(i);
    return headers;
}

} // namespace testing
