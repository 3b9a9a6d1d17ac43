#include "helpers/ModalDriver.h"

#include "graph/diaFunctions.h"
#include "graph/frmGraph.h"
#include "info/diaHelp.h"
#include "info/diaStore.h"
#include "info/diaTech.h"
#include "info/frmAbout.h"
#include "input/diaOptions.h"
#include "main/frmMain.h"
#include "platform/Colours.h"
#include "platform/Frame.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableView>
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
             QTest::qFail(fresh() ? "the modal window never became active" : "no modal window opened", __FILE__,
                          __LINE__);
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

namespace {

// The contrast of the text in a rectangle of the picture: its commonest colour is the
// background, and the text is the colour that stands out most from it.
double textContrast(const QImage &picture, const QRectF &area)
{
    const qreal ratio = picture.devicePixelRatio();
    const QRect pixels = QRectF(area.topLeft() * ratio, area.size() * ratio).toAlignedRect() & picture.rect();
    QHash<QRgb, int> counts;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            ++counts[picture.pixel(x, y)];
    QRgb background = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    }
    double contrast = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        contrast = std::max(contrast, platform::ContrastRatio(QColor(it.key()), QColor(background)));
    return contrast;
}

// Where a one-line text stands in a box, aligned as given.
QRect textBox(const QWidget *control, const QString &text, const QRect &box, Qt::Alignment alignment)
{
    const QSize size = control->fontMetrics().size(Qt::TextShowMnemonic, text);
    return QStyle::alignedRect(control->layoutDirection(), alignment, size.boundedTo(box.size()), box);
}

// The places in the control (its own coordinates) where it writes text.
QList<QRect> textAreas(QWidget *control)
{
    QList<QRect> areas;
    if (auto *label = qobject_cast<QLabel *>(control); label && !label->text().isEmpty())
        areas << label->contentsRect();
    else if (auto *frame = qobject_cast<platform::Frame *>(control); frame && !frame->title().isEmpty())
        areas << frame->captionRect();
    else if (auto *option = qobject_cast<QRadioButton *>(control)) {
        QStyleOptionButton style;
        style.initFrom(option);
        areas << option->style()->subElementRect(QStyle::SE_RadioButtonContents, &style, option);
    } else if (auto *button = qobject_cast<QPushButton *>(control); button && !button->text().isEmpty())
        areas << textBox(button, button->text(), button->rect(), Qt::AlignCenter);
    else if (auto *field = qobject_cast<QLineEdit *>(control); field && !field->text().isEmpty())
        areas << textBox(field, field->text(), field->rect().adjusted(3, 3, -3, -3),
                         field->alignment() | Qt::AlignVCenter);
    else if (auto *bar = qobject_cast<QMenuBar *>(control)) {
        for (QAction *action : bar->actions())
            areas << bar->actionGeometry(action);
    } else if (auto *grid = qobject_cast<QTableView *>(control); grid && grid->model()) {
        QHeaderView *header = grid->horizontalHeader();
        for (int column = 0; column < grid->model()->columnCount(); ++column) {
            const QRect section(header->sectionViewportPosition(column), 0, header->sectionSize(column),
                                header->height());
            const QString caption = grid->model()->headerData(column, Qt::Horizontal).toString();
            if (!caption.isEmpty())
                areas << textBox(header, caption, section.translated(header->pos()).adjusted(3, 3, -3, -3),
                                 Qt::AlignCenter);
            const QModelIndex first = grid->model()->index(0, column);
            if (!grid->model()->data(first).toString().isEmpty())
                areas << grid->visualRect(first).translated(grid->viewport()->pos()).adjusted(3, 3, -3, -3);
        }
    }
    return areas;
}

} // namespace

QStringList UnreadableTexts(QWidget *window)
{
    const QImage picture = window->grab().toImage();
    QStringList unreadable;
    for (QWidget *control : window->findChildren<QWidget *>()) {
        if (!control->isVisibleTo(window))
            continue;
        for (const QRect &area : textAreas(control)) {
            const QRect inWindow(control->mapTo(window, area.topLeft()), area.size());
            const double contrast = textContrast(picture, inWindow);
            if (contrast < platform::ReadableContrast) {
                unreadable << QStringLiteral("%1 (%2:1)").arg(control->objectName()).arg(contrast, 0, 'f', 1);
                break;
            }
        }
    }
    return unreadable;
}

QList<WindowMaker> ProgramWindows()
{
    return {
        {"main window", [] { return new frmMain; }},
        {"graph window", [] { return new frmGraph; }},
        {"decimal places", [] { return new diaOptions(4); }},
        {"axis scales", [] { return new diaFunctions(AxisScales{10, -10, 10, -10}); }},
        {"Formula Tutor", [] { return new diaHelp; }},
        {"About box", [] { return new frmAbout; }},
        {"support", [] { return new diaTech; }},
        {"store", [] { return new diaStore; }},
    };
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

QString Caption(const QWidget *control)
{
    if (auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    if (auto *frame = qobject_cast<const QGroupBox *>(control))
        return frame->title();
    if (auto *field = qobject_cast<const QLineEdit *>(control))
        return field->text();
    return QString();
}

} // namespace testing
