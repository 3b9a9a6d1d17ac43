// The program on a real desktop: an X server with a window manager, every input sent
// through the X server (xdotool) as a person's mouse and keyboard send it. What is checked
// is what a person sees: field texts, grid cells, window positions, the picture on the
// screen, and that the program goes on answering.
#include "graph/diaFunctions.h"
#include "graph/frmGraph.h"
#include "helpers/MainWindowTest.h"
#include "helpers/ModalDriver.h"
#include "helpers/Pixels.h"
#include "input/diaOptions.h"
#include "main/frmMain.h"
#include "platform/Colours.h"
#include "platform/FlexGrid.h"
#include "platform/PictureBox.h"
#include "platform/Program.h"
#include "platform/TextBox.h"
#include "platform/Twips.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

// Every wait of this test ends when its state comes; the bound only decides when a failure
// is reported, so it is generous enough for a machine under heavy load.
constexpr int LongWait = 120000;
#define WAIT_VERIFY(expr) QTRY_VERIFY_WITH_TIMEOUT(expr, LongWait)
#define WAIT_COMPARE(expr, expected) QTRY_COMPARE_WITH_TIMEOUT(expr, expected, LongWait)

// Acts on the next modal window once it is active, however long it takes to come.
void onNextModal(std::function<void(QWidget *)> action)
{
    testing::OnNextModal(std::move(action), LongWait);
}

// Runs an X client (xdotool, xwininfo, xprop) and returns what it printed; empty when it
// failed.
QString runX(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(LongWait)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput()) + QLatin1Char('\n');
}

// Drives the X server through xdotool. A call that fails (the tool missing, an error, no end
// within the bound) fails the test at once, saying which call and why, instead of leaving the
// test to wait for a state the input never made.
bool xdo(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), args);
    const bool finished = process.waitForFinished(LongWait);
    if (finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return true;
    if (!finished) {
        process.kill();
        process.waitForFinished();
    }
    const QString why = !finished ? QStringLiteral("no end") : process.errorString() + QLatin1Char(' ')
            + QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    QTest::qFail(qPrintable(QStringLiteral("xdotool %1: %2").arg(args.join(QLatin1Char(' ')), why)), __FILE__,
                 __LINE__);
    return false;
}

QString windowId(const QWidget *w)
{
    return QString::number(w->window()->winId());
}

// A click on the widget's centre, placed relative to its window as the X server has it.
QStringList clickArgs(const QWidget *w)
{
    const QPoint p = w->mapTo(w->window(), w->rect().center());
    return {"mousemove", "--window", windowId(w), QString::number(p.x()), QString::number(p.y()), "click", "1"};
}

// Clicks the widget count times, as fast as the X server takes them.
QStringList repeatedClickArgs(const QWidget *w, int count)
{
    QStringList args = clickArgs(w);
    args.removeLast();
    return args << "--repeat" << QString::number(count) << "--delay" << "1" << "1";
}

void click(const QWidget *w)
{
    xdo(clickArgs(w));
}

void keys(const QString &sequence)
{
    xdo({"key", "--clearmodifiers", sequence});
}

void type(const QString &text)
{
    xdo({"type", "--delay", "1", "--", text});
}

// Clicks into a field and replaces its text by typing.
void typeInto(platform::TextBox *box, const QString &text)
{
    click(box);
    WAIT_VERIFY(box->hasFocus());
    keys("ctrl+a");
    type(text);
    WAIT_COMPARE(box->text(), text);
}

int bluePixels(const QImage &image, QRect area = QRect())
{
    return testing::CountColour(image, platform::PlotPoint, area);
}

// The picture's pixels left of the Y axis (user X below 0).
QRect leftHalf(const platform::PictureBox *pic)
{
    QPoint axis;
    pic->PixelOf(0, 0, axis);
    return QRect(0, 0, axis.x() - 2, pic->height());
}

// What the screen shows of a widget.
QImage onScreen(const QWidget *w)
{
    const QPoint p = w->mapToGlobal(QPoint(0, 0));
    return w->screen()->grabWindow(0, p.x(), p.y(), w->width(), w->height()).toImage();
}

// Whether the X server shows the window (mapped, on the current workspace, not minimised).
bool viewable(const QWidget *w)
{
    return runX(QStringLiteral("xwininfo"), {"-id", windowId(w)}).contains(QLatin1String("IsViewable"));
}

// The window is the active one, with no modal window over it: keys and clicks reach it.
bool settled(const QWidget *w)
{
    return w->isActiveWindow() && !QApplication::activeModalWidget();
}

// The window manager has framed the window and shows it: its frame extents are set and the
// X server has it mapped.
bool framed(const QWidget *w)
{
    const QString extents = runX(QStringLiteral("xprop"), {"-id", windowId(w), "_NET_FRAME_EXTENTS"});
    return extents.section(QLatin1Char('='), 1, 1).split(QLatin1Char(',')).size() == 4 && viewable(w);
}

// The workspace the window manager has put the window on, or -1.
int workspaceOf(const QWidget *w)
{
    bool ok = false;
    const int desktop = runX(QStringLiteral("xdotool"), {"get_desktop_for_window", windowId(w)}).trimmed().toInt(&ok);
    return ok ? desktop : -1;
}

// The top-left corner of the window's frame on the screen, as the X server and the window
// manager have it.
QPoint framePosition(const QWidget *w)
{
    const QString info = runX(QStringLiteral("xwininfo"), {"-id", windowId(w)});
    const QString extents = runX(QStringLiteral("xprop"), {"-id", windowId(w), "_NET_FRAME_EXTENTS"});
    auto field = [&info](const char *label) {
        return info.section(QLatin1String(label), 1, 1).section(QLatin1Char('\n'), 0, 0).trimmed().toInt();
    };
    // "_NET_FRAME_EXTENTS(CARDINAL) = left, right, top, bottom"
    const QStringList frame = extents.section(QLatin1Char('='), 1, 1).split(QLatin1Char(','));
    if (frame.size() != 4)
        return QPoint(-1, -1);
    return QPoint(field("Absolute upper-left X:") - frame[0].trimmed().toInt(),
                  field("Absolute upper-left Y:") - frame[2].trimmed().toInt());
}

// The main window as the program opens it, framed and active on the desktop.
std::unique_ptr<frmMain> openMainWindow()
{
    auto form = std::make_unique<frmMain>();
    form->show();
    if (!QTest::qWaitForWindowActive(form.get(), LongWait))
        qWarning("main window not active");
    if (!QTest::qWaitFor([&] { return framed(form.get()); }, LongWait))
        qWarning("main window not framed");
    return form;
}

// Another X client to switch to, as a user switches to another application.
class OtherApplication
{
public:
    OtherApplication()
    {
        m_process.start(QStringLiteral("xmessage"), {"-geometry", "+700+700", "another application"});
        m_process.waitForStarted();
    }
    ~OtherApplication()
    {
        m_process.kill();
        m_process.waitForFinished();
    }
    // Activates it through the window manager and waits until it has the focus.
    bool activate()
    {
        const QString id = runX(QStringLiteral("xdotool"), {"search", "--sync", "--class", "Xmessage"}).section('\n', 0, 0);
        return !id.isEmpty() && xdo({"windowactivate", "--sync", id});
    }

private:
    QProcess m_process;
};

} // namespace

class tst_Desktop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void positions();
    void accessKeysCleanTheField();
    void minimisingTheGraphWindow_data();
    void minimisingTheGraphWindow();
    void keyboardOnly();
    void returningFromAnotherApplication();
    void messageBoxIsNoActivation();
    void thousandsOfPresses();
    void blankEquation();
    void emptyTitleBar();
    void savingWithTheKeyboard();

private:
    platform::TextBox *field(const char *name) const { return form->findChild<platform::TextBox *>(name); }

    std::unique_ptr<frmMain> form;
};

// The application as the program sets it up: its name (which the desktop shows for a window
// without a title), its version and its look.
void tst_Desktop::initTestCase()
{
    platform::PrepareApplication();
}

void tst_Desktop::init()
{
    form = openMainWindow();
}

void tst_Desktop::cleanup()
{
    testing::CancelPendingModals();
    form.reset();
}

// The main window, the graph window and the Formula Tutor at the top-left corner, the
// decimal places dialog at 500, 500 twips; and back there when a window they showed closes.
void tst_Desktop::positions()
{
    WAIT_COMPARE(framePosition(form.get()), QPoint(0, 0));
    // The window manager framed the window: the client area lies inside the frame.
    WAIT_VERIFY(form->geometry().top() > 0);
    WAIT_COMPARE(form->frameGeometry().topLeft(), QPoint(0, 0));

    QPoint tutorAt(-1, -1), optionsAt(-1, -1), graphAt(-1, -1), graphBackAt(-1, -1);
    onNextModal([&](QWidget *w) {
        WAIT_COMPARE(framePosition(w), QPoint(0, 0));
        tutorAt = framePosition(w);
        keys("Return");
    });
    xdo({"windowmove", windowId(form.get()), "200", "150"});
    WAIT_VERIFY(framePosition(form.get()) != QPoint(0, 0));
    keys("alt+h");
    keys("h");
    WAIT_VERIFY(tutorAt == QPoint(0, 0));
    WAIT_COMPARE(framePosition(form.get()), QPoint(0, 0));
    WAIT_VERIFY(settled(form.get()));

    const QPoint options(platform::TwipsToPixels(500), platform::TwipsToPixels(500));
    onNextModal([&](QWidget *w) {
        WAIT_COMPARE(framePosition(w), options);
        optionsAt = framePosition(w);
        click(qobject_cast<diaOptions *>(w)->cmdOk);
    });
    keys("alt+o");
    keys("d");
    WAIT_COMPARE(optionsAt, options);
    WAIT_VERIFY(settled(form.get()));

    bool graphDone = false;
    onNextModal([&](QWidget *w) {
        auto *graph = qobject_cast<frmGraph *>(w);
        WAIT_COMPARE(framePosition(graph), QPoint(0, 0));
        graphAt = framePosition(graph);
        xdo({"windowmove", windowId(graph), "200", "150"});
        WAIT_VERIFY(framePosition(graph) != QPoint(0, 0));
        onNextModal([](QWidget *d) { click(qobject_cast<diaFunctions *>(d)->CancelButton); });
        keys("alt+o");
        keys("a");
        WAIT_COMPARE(framePosition(graph), QPoint(0, 0));
        graphBackAt = framePosition(graph);
        click(graph->cmdExit);
        graphDone = true;
    });
    click(form->cmdGraph);
    WAIT_VERIFY(graphDone);
    QCOMPARE(graphAt, QPoint(0, 0));
    QCOMPARE(graphBackAt, QPoint(0, 0));
}

// Alt+V, Alt+G and the graph window's Alt+P leave the field the caret is in as a click does:
// it is cleaned before the button's handler reads it.
void tst_Desktop::accessKeysCleanTheField()
{
    typeInto(field("txtTo"), "5");
    typeInto(field("txtInc"), "1");
    typeInto(field("txtFunc1"), "X");
    typeInto(field("txtFrom"), "1-0");
    keys("alt+v");
    WAIT_COMPARE(form->msGrid->TextMatrix(1, 0), QStringLiteral("-10.0000"));
    QCOMPARE(form->txtFrom->text(), QStringLiteral("-10"));
    QCOMPARE(form->msGrid->TextMatrix(16, 1), QStringLiteral("5.0000"));

    typeInto(field("txtFunc1"), "5");
    typeInto(field("txtFrom"), "2-0");
    QString copiedStart;
    int blueLeft = -1;
    bool done = false;
    onNextModal([&](QWidget *w) {
        auto *graph = qobject_cast<frmGraph *>(w);
        copiedStart = graph->txtFrom->text();
        typeInto(graph->txtFrom, "1-0");
        keys("alt+p");
        WAIT_COMPARE(graph->txtFrom->text(), QStringLiteral("-10"));
        WAIT_COMPARE(graph->windowTitle(), QStringLiteral("Plotwell"));
        WAIT_VERIFY((blueLeft = bluePixels(graph->picPlot->image(), leftHalf(graph->picPlot))) > 0);
        keys("alt+x");
        done = true;
    });
    keys("alt+g");
    WAIT_VERIFY(done);
    QCOMPARE(copiedStart, QStringLiteral("-20"));
    QCOMPARE(form->txtFrom->text(), QStringLiteral("-20"));
}

void tst_Desktop::minimisingTheGraphWindow_data()
{
    QTest::addColumn<bool>("duringPlot");
    QTest::addColumn<bool>("workspace");
    QTest::newRow("minimised idle") << false << false;
    QTest::newRow("minimised during a plot") << true << false;
    QTest::newRow("to another workspace idle") << false << true;
    QTest::newRow("to another workspace during a plot") << true << true;
}

// Minimising the graph window, or moving it to another workspace, leaves it open and its
// plot running; back, the window shows the whole picture and still answers.
void tst_Desktop::minimisingTheGraphWindow()
{
    QFETCH(bool, duringPlot);
    QFETCH(bool, workspace);
    form->txtFrom->setText("-10");
    form->txtTo->setText("10");
    form->txtFunc1->setText("X");
    form->txtFunc2->setText("X^2");
    form->txtFunc3->setText("5");

    QPointer<frmGraph> graph;
    auto sendAway = [workspace](QWidget *w) {
        if (workspace)
            xdo({"set_desktop_for_window", windowId(w), "1"});
        else
            xdo({"windowminimize", "--sync", windowId(w)});
    };
    auto away = [&] {
        return !graph || (!viewable(graph) && graph->windowTitle() == "Plotwell" && (!workspace || workspaceOf(graph) == 1));
    };
    auto back = [&] { return !graph || (viewable(graph) && graph->isActiveWindow()); };
    bool lost = false, restoredWithPicture = false, closed = false;

    // Back from the minimised state or the other workspace: the whole picture on the screen.
    auto checkRestored = [&] {
        lost = !graph;
        if (!graph)
            return;
        const platform::PictureBox *pic = graph->picPlot;
        const int drawn = bluePixels(pic->image());
        WAIT_COMPARE(bluePixels(onScreen(pic)), drawn);
        restoredWithPicture = drawn > 100;
        click(graph->cmdExit);
        closed = true;
    };
    auto restore = [&] {
        lost = !graph;
        if (!graph)
            return;
        // Back on the first workspace the window manager maps the window again; activating it
        // before that would be lost. A minimised window comes back by the activation itself.
        if (workspace) {
            xdo({"set_desktop_for_window", windowId(graph), "0"});
            WAIT_VERIFY(!graph || (workspaceOf(graph) == 0 && viewable(graph)));
            if (!graph)
                return;
        }
        xdo({"windowactivate", "--sync", windowId(graph)});
        testing::When(back, checkRestored, LongWait);
    };

    onNextModal([&](QWidget *w) {
        graph = qobject_cast<frmGraph *>(w);
        if (!duringPlot) {
            click(graph->cmdPlot);
            WAIT_VERIFY(graph->windowTitle() == "Plotwell" && bluePixels(graph->picPlot->image()) > 100);
            sendAway(graph);
        } else {
            // The run sends its window away at its first yield and goes on while it is away.
            auto once = std::make_shared<QMetaObject::Connection>();
            *once = connect(graph.data(), &QWidget::windowTitleChanged, graph.data(), [once, graph, sendAway] {
                QObject::disconnect(*once);
                QTimer::singleShot(0, graph, [graph, sendAway] { sendAway(graph); });
            });
            click(graph->cmdPlot);
        }
        testing::When(away, restore, LongWait);
    });
    click(form->cmdGraph);
    QTRY_VERIFY_WITH_TIMEOUT(closed || lost, LongWait);
    QVERIFY(!lost);
    QVERIFY(restoredWithPicture);
    QVERIFY(form->isVisible());
}

// Everything by keyboard: the fields in tab order, Evaluate by its access key, the decimal
// places dialog by its menu, the grid left by Tab and walked by the arrow keys.
void tst_Desktop::keyboardOnly()
{
    WAIT_VERIFY(form->txtFrom->hasFocus());
    type("0");
    keys("Tab");
    type("4");
    keys("Tab");
    type("2");
    keys("Tab");
    type("X*3");
    keys("alt+v");
    WAIT_COMPARE(form->msGrid->TextMatrix(3, 1), QStringLiteral("12.0000"));

    bool chosen = false;
    onNextModal([&](QWidget *w) {
        auto *options = qobject_cast<diaOptions *>(w);
        // The arrow keys move the focus within the group, one option a press; space selects.
        WAIT_VERIFY(qobject_cast<QRadioButton *>(QApplication::focusWidget()));
        for (int i = 0; i < 3 && !options->optDecimal[1]->hasFocus(); ++i) {
            const int at = int(std::find(options->optDecimal.begin(), options->optDecimal.end(),
                                         QApplication::focusWidget()) - options->optDecimal.begin());
            keys(at > 1 ? "Up" : "Down");
            WAIT_VERIFY(options->optDecimal[at > 1 ? at - 1 : at + 1]->hasFocus());
        }
        keys("space");
        WAIT_VERIFY(options->optDecimal[1]->isChecked());
        keys("Tab");
        WAIT_VERIFY(options->cmdOk->hasFocus());
        keys("space");
        chosen = true;
    });
    keys("alt+o");
    keys("d");
    WAIT_VERIFY(chosen);
    WAIT_COMPARE(form->DecimalPlaces(), short(2));
    keys("alt+v");
    WAIT_COMPARE(form->msGrid->TextMatrix(3, 1), QStringLiteral("12.00"));

    platform::FlexGrid *grid = form->msGrid;
    click(grid->viewport());
    WAIT_VERIFY(grid->hasFocus());
    const int row = grid->currentIndex().row();
    keys("Down");
    WAIT_COMPARE(grid->currentIndex().row(), row + 1);
    keys("Tab");
    WAIT_VERIFY(form->cmdVisit->hasFocus());
    keys("shift+Tab");
    WAIT_VERIFY(grid->hasFocus());
    keys("shift+Tab");
    WAIT_VERIFY(form->cmdGraph->hasFocus());
}

// Coming back from another application is no activation: the main window stays where the
// user moved it, and the decimal places dialog keeps the option the user picked.
void tst_Desktop::returningFromAnotherApplication()
{
    OtherApplication other;
    xdo({"windowmove", windowId(form.get()), "200", "150"});
    WAIT_VERIFY(framePosition(form.get()) != QPoint(0, 0));
    const QPoint moved = framePosition(form.get());
    QVERIFY(other.activate());
    WAIT_VERIFY(!form->isActiveWindow());
    xdo({"windowactivate", "--sync", windowId(form.get())});
    WAIT_VERIFY(form->isActiveWindow());
    QCOMPARE(framePosition(form.get()), moved);

    bool kept = false, done = false;
    onNextModal([&](QWidget *w) {
        auto *options = qobject_cast<diaOptions *>(w);
        click(options->optDecimal[1]);
        WAIT_VERIFY(options->optDecimal[1]->isChecked());
        QVERIFY(other.activate());
        WAIT_VERIFY(!options->isActiveWindow());
        xdo({"windowactivate", "--sync", windowId(options)});
        WAIT_VERIFY(options->isActiveWindow());
        kept = options->optDecimal[1]->isChecked();
        click(options->cmdOk);
        done = true;
    });
    keys("alt+o");
    keys("d");
    WAIT_VERIFY(done);
    QVERIFY(kept);
    QCOMPARE(form->DecimalPlaces(), short(2));
}

// A message box closing hands the focus back without an activation: the window stays put.
void tst_Desktop::messageBoxIsNoActivation()
{
    xdo({"windowmove", windowId(form.get()), "200", "150"});
    WAIT_VERIFY(framePosition(form.get()) != QPoint(0, 0));
    const QPoint moved = framePosition(form.get());
    QString text;
    onNextModal([&](QWidget *w) {
        text = qobject_cast<QMessageBox *>(w)->text();
        keys("Return");
    });
    keys("alt+v");
    WAIT_COMPARE(text, QStringLiteral("Please enter value a for {Start:} before proceeding."));
    WAIT_VERIFY(form->isActiveWindow());
    QCOMPARE(framePosition(form.get()), moved);
}

// Thousands of quick clicks on Evaluate and on Plot during runs: the program keeps
// answering and ends with a whole table and a whole picture.
void tst_Desktop::thousandsOfPresses()
{
    form->txtFrom->setText("0");
    form->txtTo->setText("2000");
    form->txtInc->setText("1");
    form->txtFunc1->setText("X*2");
    QProcess clicker;
    clicker.start(QStringLiteral("xdotool"), repeatedClickArgs(form->cmdEvaluate, 2000));
    QTRY_VERIFY_WITH_TIMEOUT(clicker.state() == QProcess::NotRunning, LongWait);
    QTRY_COMPARE_WITH_TIMEOUT(form->msGrid->TextMatrix(2001, 1), QStringLiteral("4000.0000"), LongWait);
    typeInto(field("txtFunc2"), "X");

    bool done = false;
    onNextModal([&](QWidget *w) {
        auto *graph = qobject_cast<frmGraph *>(w);
        graph->txtFrom->setText("-10");
        graph->txtTo->setText("10");
        QProcess plotClicker;
        plotClicker.start(QStringLiteral("xdotool"), repeatedClickArgs(graph->cmdPlot, 2000));
        QTRY_VERIFY_WITH_TIMEOUT(plotClicker.state() == QProcess::NotRunning, LongWait);
        QTRY_COMPARE_WITH_TIMEOUT(graph->windowTitle(), QStringLiteral("Plotwell"), LongWait);
        QVERIFY(bluePixels(graph->picPlot->image()) > 100);
        typeInto(graph->txtFunc_3, "still answering");
        click(graph->cmdExit);
        done = true;
    });
    click(form->cmdGraph);
    QTRY_VERIFY_WITH_TIMEOUT(done, LongWait);
}

// A box of blanks: "UNDEF" in the table, no point in the graph.
void tst_Desktop::blankEquation()
{
    typeInto(field("txtFrom"), "-2");
    typeInto(field("txtTo"), "2");
    typeInto(field("txtInc"), "1");
    typeInto(field("txtFunc1"), "   ");
    keys("alt+v");
    WAIT_COMPARE(form->msGrid->TextMatrix(5, 0), QStringLiteral("2.0000"));
    for (int row = 1; row <= 5; ++row)
        QCOMPARE(form->msGrid->TextMatrix(row, 1), QStringLiteral("UNDEF"));

    int blue = -1;
    onNextModal([&](QWidget *w) {
        auto *graph = qobject_cast<frmGraph *>(w);
        QSignalSpy titles(graph, &QWidget::windowTitleChanged);
        keys("alt+p");
        WAIT_COMPARE(titles.count(), 2);
        QCOMPARE(titles.at(0).at(0).toString(), QStringLiteral("Graphing:    "));
        QCOMPARE(graph->windowTitle(), QStringLiteral("Plotwell"));
        blue = bluePixels(graph->picPlot->image());
        keys("alt+x");
    });
    keys("alt+g");
    WAIT_COMPARE(blue, 0);
}

// The support dialog's title bar is empty: the program's name is not filled in.
void tst_Desktop::emptyTitleBar()
{
    QString title = "unread";
    onNextModal([&](QWidget *w) {
        title = runX(QStringLiteral("xprop"), {"-id", windowId(w), "_NET_WM_NAME", "WM_NAME"});
        keys("Return");
    });
    keys("alt+h");
    keys("t");
    WAIT_VERIFY(title != "unread");
    QVERIFY2(!title.contains("Tarnwick"), qPrintable(title));
    QVERIFY2(title.contains("_NET_WM_NAME"), qPrintable(title));
}


// Saving with the keyboard alone: Ctrl+S with the grid focused, and in the graph window on
// its Plot button, opens the save dialog; a name typed there and Enter write the file.
void tst_Desktop::savingWithTheKeyboard()
{
    QTemporaryDir dir;
    auto answerSaveDialog = [&](const QString &name) {
        testing::OnNextModal(
            [path = dir.filePath(name)](QWidget *w) {
                QVERIFY(qobject_cast<QFileDialog *>(w));
                QTRY_VERIFY_WITH_TIMEOUT(w->isActiveWindow(), LongWait);
                QTRY_VERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
                keys("ctrl+a");
                type(path);
                keys("Return");
            },
            LongWait);
    };
    QTRY_VERIFY(form->txtFrom->hasFocus());
    type("0");
    keys("Tab");
    type("2");
    keys("Tab");
    type("1");
    keys("Tab");
    type("X*3");
    keys("alt+v");
    QTRY_COMPARE(form->msGrid->TextMatrix(3, 1), QStringLiteral("6.0000"));
    for (int i = 0; i < 6; ++i)
        keys("Tab");
    QTRY_VERIFY(form->msGrid->hasFocus());
    answerSaveDialog(QStringLiteral("table.csv"));
    keys("ctrl+s");
    QFile table(dir.filePath(QStringLiteral("table.csv")));
    QTRY_VERIFY_WITH_TIMEOUT(table.exists(), LongWait);
    QVERIFY(table.open(QIODevice::ReadOnly));
    // The headers, then a reading a row: X and the first equation, the other equations empty.
    const QStringList headers = testing::GridHeaders();
    const QString others(headers.size() - 2, QLatin1Char(','));
    QVERIFY(QString::fromLatin1(table.readAll())
                .startsWith(headers.join(',') + "\r\n0.0000,0.0000" + others + "\r\n1.0000,3.0000" + others + "\r\n"));

    bool saved = false;
    testing::OnNextModal([&](QWidget *w) {
        auto *graph = qobject_cast<frmGraph *>(w);
        QSignalSpy titles(graph, &QWidget::windowTitleChanged);
        keys("alt+p");
        QTRY_COMPARE_WITH_TIMEOUT(titles.count(), 2, LongWait);
        QTRY_VERIFY(graph->cmdPlot->hasFocus());
        answerSaveDialog(QStringLiteral("plot.svg"));
        keys("ctrl+s");
        QFile svg(dir.filePath(QStringLiteral("plot.svg")));
        QTRY_VERIFY_WITH_TIMEOUT(svg.exists(), LongWait);
        QVERIFY(svg.open(QIODevice::ReadOnly));
        saved = svg.readAll().contains("<svg");
        keys("alt+x");
    });
    keys("alt+g");
    QTRY_VERIFY_WITH_TIMEOUT(saved, LongWait);
}

QTEST_MAIN(tst_Desktop)
#include "tst_desktop.moc"
