#include "helpers/ModalDriver.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
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

// Polls from the event loop until ready() holds, then runs the action once; after the
// timeout, runs expired() instead.
void poll(std::function<bool()> ready, std::function<void()> action, std::function<void()> expired, int timeoutMs)
{
    auto timer = new QTimer(pendingWaits());
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        const bool isReady = ready();
        if (!isReady && clock->elapsed() <= timeoutMs)
            return;
        timer->stop();
        timer->deleteLater();
        if (isReady)
            action();
        else
            expired();
        // A check that failed leaves windows open: close them, so the test fails at once
        // instead of waiting in a modal loop.
        if (QTest::currentTestFailed())
            closeOpenModals();
    });
    timer->start();
}

} // namespace

void CancelPendingModals()
{
    qDeleteAll(pendingWaits()->children());
}

void OnNextModal(std::function<void(QWidget *)> action, int timeoutMs)
{
    QPointer<QWidget> before = QApplication::activeModalWidget();
    auto fresh = [before] {
        QWidget *modal = QApplication::activeModalWidget();
        return modal && modal != before.data() && modal->isVisible() ? modal : nullptr;
    };
    // Acting before the window is active would type into a window without the focus.
    poll([fresh] { return fresh() && fresh()->isActiveWindow(); },
         [fresh, action] { action(fresh()); },
         [fresh] {
             if (fresh())
                 QTest::qFail("the modal window never became active", __FILE__, __LINE__);
         },
         timeoutMs);
}

void When(std::function<bool()> condition, std::function<void()> action, int timeoutMs)
{
    poll(condition, action, [] { QTest::qFail("the awaited state never came", __FILE__, __LINE__); }, timeoutMs);
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

QStringList CutTexts(QWidget *window)
{
    QStringList cut;
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (label->wordWrap()) {
            if (label->heightForWidth(label->width()) > label->height())
                cut << label->objectName();
            continue;
        }
        // A label cuts its text when the ink of a line's glyphs runs past its edge. The stand-in
        // fonts run a shade wider than the design fonts, so one antialiased column may touch it.
        constexpr int AntialiasedEdge = 1;
        const bool leftAligned = label->alignment() & Qt::AlignLeft;
        for (const QString &line : label->text().split(QRegularExpression(QStringLiteral("\\r?\\n")))) {
            const QRect ink = label->fontMetrics().tightBoundingRect(line);
            const int inkWidth = leftAligned ? ink.right() + 1 : ink.width();
            if (!line.isEmpty() && inkWidth > label->contentsRect().width() + AntialiasedEdge) {
                cut << label->objectName();
                break;
            }
        }
        const int lines = label->text().count(QLatin1Char('\n')) + 1;
        if (!label->text().isEmpty() && label->fontMetrics().height() * lines > label->height())
            cut << label->objectName();
    }
    for (QPushButton *button : window->findChildren<QPushButton *>()) {
        const int needed = button->fontMetrics().horizontalAdvance(QString(button->text()).remove('&')) + 8;
        if (needed > button->width())
            cut << button->objectName();
    }
    for (QWidget *control : window->findChildren<QWidget *>()) {
        QWidget *container = control->parentWidget();
        // Qt's own parts (scroll bar holders, the menu bar's overflow button) are not ours.
        if (control->objectName().startsWith(QLatin1String("qt_")))
            continue;
        if (container && !control->isWindow() && container->isVisible()
            && !container->rect().contains(control->geometry()))
            cut << control->objectName();
    }
    return cut;
}

QStringList UnnamedControls(QWidget *window)
{
    QStringList unnamed;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(window))
            continue;
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(w);
        if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << w->objectName();
    }
    return unnamed;
}

QStringList TabOrder(QWidget *first)
{
    QStringList names;
    QWidget *w = first;
    // Bounded: a chain that never returns to the first widget still ends.
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            names << w->objectName();
        w = w->nextInFocusChain();
    } while (w != first && names.size() < 500);
    return names;
}

void AddClosingRows()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Exit button") << "cmdExit";
    QTest::newRow("Exit menu item") << "mnuExit";
    QTest::newRow("close box") << "close";
}

void CloseBy(const QString &how, QWidget *window)
{
    if (how == QLatin1String("cmdExit")) {
        auto *button = window->findChild<QAbstractButton *>(how);
        QVERIFY2(button, "no Exit button");
        Click(button);
    } else if (how == QLatin1String("mnuExit")) {
        auto *item = window->findChild<QAction *>(how);
        QVERIFY2(item, "no Exit menu item");
        item->trigger();
    } else {
        window->close();
    }
}

} // namespace testing
