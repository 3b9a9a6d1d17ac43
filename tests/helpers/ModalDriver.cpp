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

void OnNextModal(std::function<void(QWidget *)> action, int timeoutMs)
{
    QPointer<QWidget> before = QApplication::activeModalWidget();
    auto timer = new QTimer(pendingWaits());
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal != before.data() && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
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
