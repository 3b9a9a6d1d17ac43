#include "helpers/ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <memory>

namespace testing {

namespace {

// Parent of the pending waits, so they can be dropped together.
QObject *pendingWaits()
{
    static QPointer<QObject> holder;
    if (!holder)
        holder = new QObject(qApp);
    return holder;
}

} // namespace

void CancelPendingModals()
{
    qDeleteAll(pendingWaits()->children());
}

namespace {

// Closes every modal window, innermost first, so the code under test returns from its
// modal loops; a window that ignores the close is hidden.
void closeOpenModals()
{
    for (int i = 0; i < 16; ++i) {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        modal->close();
        if (modal == QApplication::activeModalWidget())
            modal->hide();
    }
}

} // namespace

void OnNextModal(std::function<void(QWidget *)> action, int timeoutMs)
{
    QPointer<QWidget> before = QApplication::activeModalWidget();
    auto timer = new QTimer(pendingWaits());
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        QWidget *modal = QApplication::activeModalWidget();
        const bool fresh = modal && modal != before.data() && modal->isVisible();
        // Acting before the window is active would type into a window without the focus.
        if (fresh && modal->isActiveWindow()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
            // A check that failed inside the action leaves windows open: close them, so the
            // test fails at once instead of waiting in a modal loop.
            if (QTest::currentTestFailed())
                closeOpenModals();
        } else if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            if (fresh) {
                closeOpenModals();
                QTest::qFail("the modal window never became active", __FILE__, __LINE__);
            }
        }
    });
    timer->start();
}

void AnswerNextMessage(ShownMessage *record)
{
    OnNextModal([record](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        if (!box) {
            w->close();
            return;
        }
        record->shown = true;
        record->title = box->windowTitle();
        record->text = box->text();
        record->icon = box->icon();
        record->buttons = box->standardButtons();
        if (QAbstractButton *ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->close();
    });
}

void Click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton);
}

} // namespace testing
