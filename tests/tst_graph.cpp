#include "graph/PlotRenderer.h"
#include "graph/diaFunctions.h"
#include "graph/frmGraph.h"
#include "helpers/ModalDriver.h"
#include "helpers/PdfText.h"
#include "helpers/Pixels.h"
#include "helpers/RepeatedPresses.h"
#include "main/frmMain.h"
#include "platform/Colours.h"
#include "platform/Equations.h"
#include "platform/FlexGrid.h"
#include "platform/LabelForm.h"
#include "platform/PictureBox.h"
#include "platform/Program.h"
#include "platform/TextBox.h"

#include <QClipboard>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QXmlStreamReader>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <malloc.h>

#include <cfloat>
#include <functional>
#include <limits>
#include <memory>
#include <set>
#include <utility>

using platform::PictureBox;

namespace {

const QRgb Blue = platform::PlotPoint.rgb();
const QRgb Red = platform::PlotAxis.rgb();
const QRgb DarkRed = platform::PlotGrid.rgb();

using testing::CountColour;

QPoint pixelOf(const PictureBox *pic, double x, double y)
{
    QPoint p;
    if (!pic->PixelOf(x, y, p))
        qFatal("no pixel for %g, %g", x, y);
    return p;
}

// The image pixels of the columns from user X x1 to x2, over the whole height.
QRect columns(const PictureBox *pic, double x1, double x2)
{
    const int left = pixelOf(pic, x1, 0).x();
    const int right = pixelOf(pic, x2, 0).x();
    return QRect(QPoint(left, 0), QPoint(right, pic->image().height() - 1));
}

// Whether the label at user point (x, y) of the plot shows the text: every pixel of its
// box that no line or axis coloured equals a picture holding only that text.
bool labelShows(const PictureBox *plot, double x, double y, const QString &text)
{
    PictureBox reference;
    reference.setFont(plot->font());
    reference.resize(plot->size());
    reference.Scale(PlotRenderer::Left, PlotRenderer::Top, PlotRenderer::Right, PlotRenderer::Bottom);
    reference.Cls();
    reference.setCurrentX(x);
    reference.setCurrentY(y);
    reference.Print(text);
    const QImage &want = reference.image();
    const QImage &have = plot->image();
    const QFontMetrics metrics(plot->font());
    const QRect box = QRect(pixelOf(plot, x, y), QSize(metrics.horizontalAdvance(text) + 2, metrics.height()))
                          .intersected(have.rect());
    int textPixels = 0;
    for (int py = box.top(); py <= box.bottom(); ++py) {
        for (int px = box.left(); px <= box.right(); ++px) {
            // Lines and axes cross label boxes; only the greys of text on white are compared.
            const QRgb h = have.pixel(px, py) & 0xffffff;
            if (qRed(h) != qGreen(h) || qGreen(h) != qBlue(h))
                continue;
            const QRgb w = want.pixel(px, py) & 0xffffff;
            if (h != w)
                return false;
            textPixels += w != 0xffffff;
        }
    }
    return textPixels > 0;
}

} // namespace

class tst_Graph : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void window();
    void controls_data();
    void controls();
    void menus();
    void tabOrder();
    void loadCopiesTheMainWindow();
    void editsStayInTheGraphWindow();
    void rangeFieldLeft_data();
    void rangeFieldLeft();
    void returningFromTheDialogMovesToTopLeft();

    void labelForm_data();
    void labelForm();
    void toScreen_data();
    void toScreen();
    void gridAndAxes();
    void labels_data();
    void labels();
    void pictureSurvivesResizing();
    void replotRedrawsChangedAxes();

    void parabola();
    void valueBounds_data();
    void valueBounds();
    void failedEquationThenNextDraws();
    void startEqualsEnd_data();
    void startEqualsEnd();
    void startAboveEnd();
    void captions_data();
    void captions();
    void extremes_data();
    void extremes();
    void readAtEverySample_data();
    void readAtEverySample();
    void nestedPlot();
    void pressesDuringRunsStayBounded();
    void blankEquationDrawsNothing();
    void accessKeyCleansStart();
    void copyPicture();
    void pngIsThePicture();
    void svgHoldsShapesAndText();
    void pdfHoldsThePlot_data();
    void pdfHoldsThePlot();
    void saveAndPrintKeys_data();
    void saveAndPrintKeys();
    void printPreview_data();
    void printPreview();
    void closeDuringRun_data();
    void closeDuringRun();
    void closeMidRun();

    void axisDialog_data();
    void axisDialog();
    void axisDialogIgnoresEnterAndEsc();
    void axisDialogReopensEmpty();

    void openingsKeepNoMemory();

    // Ending the program stops every later event loop of the process: this runs last.
    void endingTheProgramStopsTheRun();

private:
    frmGraph *showGraph();
    void plot(const QString &eq1, const QString &start = "-10", const QString &end = "10",
              const QString &eq2 = QString(), const QString &eq3 = QString());
    // Opens the Axis Scales dialog from the graph window and runs the action on it.
    void withAxisDialog(const std::function<void(diaFunctions *)> &action);

    std::unique_ptr<frmMain> main;
    std::unique_ptr<frmGraph> graph;
};

void tst_Graph::init()
{
    main = std::make_unique<frmMain>();
}

void tst_Graph::cleanup()
{
    testing::CancelPendingModals();
    graph.reset();
    main.reset();
    platform::BeginProgram();
}

frmGraph *tst_Graph::showGraph()
{
    graph = std::make_unique<frmGraph>(main->graphInputs());
    graph->show();
    // Settled activation: a late one would take the focus from a dialog opened next.
    if (!QTest::qWaitForWindowActive(graph.get()))
        qWarning("graph window not active");
    return graph.get();
}

void tst_Graph::plot(const QString &eq1, const QString &start, const QString &end, const QString &eq2,
                     const QString &eq3)
{
    graph->txtFrom->setText(start);
    graph->txtTo->setText(end);
    graph->txtFunc_1->setText(eq1);
    graph->txtFunc_2->setText(eq2);
    graph->txtFunc_3->setText(eq3);
    graph->cmdPlot->click();
}

void tst_Graph::withAxisDialog(const std::function<void(diaFunctions *)> &action)
{
    bool ran = false;
    testing::OnNextModal([&](QWidget *w) {
        auto *dialog = qobject_cast<diaFunctions *>(w);
        if (!dialog) {
            w->close();
            return;
        }
        ran = true;
        // Focus changes, and with them the boxes' LostFocus, need the active window
        // (qWaitForWindowActive would already accept the dialog's active parent).
        QTRY_VERIFY(dialog->isActiveWindow());
        action(dialog);
        if (dialog->isVisible())
            dialog->CancelButton->click();
    });
    graph->mnuAxis->trigger();
    QVERIFY(ran);
}

// ---- The window ----

void tst_Graph::window()
{
    showGraph();
    QCOMPARE(graph->windowTitle(), QStringLiteral("Plotwell"));
    QCOMPARE(graph->centralWidget()->palette().color(QPalette::Window), platform::White);
    const Qt::WindowFlags flags = graph->windowFlags();
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(graph->minimumSize() != graph->maximumSize());
    QVERIFY(!graph->windowIcon().isNull());
    QCOMPARE(graph->pos(), QPoint(0, 0));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(graph->txtFrom));
    // Nothing is drawn at load.
    QCOMPARE(CountColour(graph->picPlot->image(), platform::White),
             graph->picPlot->image().width() * graph->picPlot->image().height());
}

void tst_Graph::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");

    QTest::newRow("fraValues") << "fraValues" << "client" << platform::ValuesCaption << 13 << true;
    QTest::newRow("lblFrom_1") << "lblFrom_1" << "fraValues" << "Start:" << 13 << false;
    QTest::newRow("txtFrom") << "txtFrom" << "fraValues" << "" << 11 << false;
    QTest::newRow("lblTo_1") << "lblTo_1" << "fraValues" << "End:" << 13 << false;
    QTest::newRow("txtTo") << "txtTo" << "fraValues" << "" << 11 << false;
    QTest::newRow("fraFunctions") << "fraFunctions" << "client" << platform::FunctionsCaption << 13 << true;
    QTest::newRow("lblEqua_2") << "lblEqua_2" << "fraFunctions" << platform::EquationCaption(1) << 13 << false;
    QTest::newRow("txtFunc_3") << "txtFunc_3" << "fraFunctions" << "" << 11 << false;
    QTest::newRow("lblInst") << "lblInst" << "fraFunctions" << platform::InstructionText << 13 << false;
    QTest::newRow("picPlot small font") << "picPlot" << "client" << "" << 9 << false;
    QTest::newRow("cmdPlot") << "cmdPlot" << "client" << "&Plot" << 13 << false;
    QTest::newRow("cmdExit") << "cmdExit" << "client" << "E&xit" << 13 << false;
}

void tst_Graph::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QString, caption);
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);
    showGraph();
    QWidget *w = graph->findChild<QWidget *>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(w->parentWidget()->objectName(), container);
    QCOMPARE(w->font().pixelSize(), pixelSize);
    QCOMPARE(w->font().bold(), bold);
    QCOMPARE(testing::Caption(w), caption);
}

void tst_Graph::menus()
{
    showGraph();
    const QList<QAction *> top = graph->menuBar()->actions();
    QCOMPARE(top.size(), 2);
    QCOMPARE(top[0]->text(), QStringLiteral("&Files"));
    QCOMPARE(top[1]->text(), QStringLiteral("&Options"));
    QCOMPARE(graph->mnuFiles->objectName(), QStringLiteral("mnuFiles"));
    QCOMPARE(graph->mnuOptions->objectName(), QStringLiteral("mnuOptions"));
    QCOMPARE(graph->mnuFiles->actions(), QList<QAction *>{graph->mnuExit});
    QCOMPARE(graph->mnuOptions->actions(), QList<QAction *>{graph->mnuAxis});
    QCOMPARE(graph->mnuExit->text(), QStringLiteral("E&xit"));
    QCOMPARE(graph->mnuExit->objectName(), QStringLiteral("mnuExit"));
    QCOMPARE(graph->mnuAxis->text(), QStringLiteral("&Axis"));
    QCOMPARE(graph->mnuAxis->objectName(), QStringLiteral("mnuAxis"));
}

void tst_Graph::tabOrder()
{
    showGraph();
    QStringList expected = {"txtFrom", "txtTo"};
    for (int i = 1; i <= platform::EquationCount; ++i)
        expected << QStringLiteral("txtFunc_%1").arg(i);
    QCOMPARE(testing::TabOrder(graph->txtFrom), expected << "cmdPlot" << "cmdExit");
}

void tst_Graph::loadCopiesTheMainWindow()
{
    main->txtFrom->setText("-4");
    main->txtTo->setText("6.5");
    main->txtInc->setText("0.5");
    main->txtFunc1->setText("X^2");
    main->txtFunc2->setText(" Sin(X) ");
    main->txtFunc3->setText("");
    showGraph();
    QCOMPARE(graph->txtFrom->text(), QStringLiteral("-4"));
    QCOMPARE(graph->txtTo->text(), QStringLiteral("6.5"));
    QCOMPARE(graph->txtFunc_1->text(), QStringLiteral("X^2"));
    QCOMPARE(graph->txtFunc_2->text(), QStringLiteral(" Sin(X) "));
    QCOMPARE(graph->txtFunc_3->text(), QString());
    QCOMPARE(graph->XAxisMax(), 10.0);
    QCOMPARE(graph->XAxisMin(), -10.0);
    QCOMPARE(graph->YAxisMax(), 10.0);
    QCOMPARE(graph->YAxisMin(), -10.0);
}

// Opened as the main window opens it: edits and ranges do not outlive the window, and
// the next opening starts from the main window's texts and ±10 again.
void tst_Graph::editsStayInTheGraphWindow()
{
    main->txtFrom->setText("1");
    main->txtFunc1->setText("X");
    bool firstRan = false;
    testing::OnNextModal([&](QWidget *w) {
        auto *g = qobject_cast<frmGraph *>(w);
        QVERIFY(g);
        firstRan = true;
        g->txtFrom->setText("99");
        g->txtFunc_1->setText("X^3");
        g->setXAxisMax(50);
        g->setXAxisMin(-50);
        g->setYAxisMax(2);
        g->setYAxisMin(-2);
        g->cmdExit->click();
    });
    main->cmdGraph_Click();
    QVERIFY(firstRan);
    QVERIFY(!frmGraph::instance());
    QCOMPARE(main->txtFrom->text(), QStringLiteral("1"));
    QCOMPARE(main->txtFunc1->text(), QStringLiteral("X"));

    bool secondRan = false;
    testing::OnNextModal([&](QWidget *w) {
        auto *g = qobject_cast<frmGraph *>(w);
        QVERIFY(g);
        secondRan = true;
        QCOMPARE(g->txtFrom->text(), QStringLiteral("1"));
        QCOMPARE(g->txtFunc_1->text(), QStringLiteral("X"));
        QCOMPARE(g->XAxisMax(), 10.0);
        QCOMPARE(g->XAxisMin(), -10.0);
        QCOMPARE(g->YAxisMax(), 10.0);
        QCOMPARE(g->YAxisMin(), -10.0);
        g->mnuExit->trigger();
    });
    main->cmdGraph_Click();
    QVERIFY(secondRan);
}

void tst_Graph::rangeFieldLeft_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("left");

    QTest::newRow("trailing zero dropped") << "txtFrom" << "-3.50" << "-3.5";
    QTest::newRow("letters after the number") << "txtFrom" << "12abc" << "12";
    QTest::newRow("empty stays empty") << "txtFrom" << "" << "";
    QTest::newRow("leading zeros") << "txtFrom" << "007.50" << "7.5";
    QTest::newRow("letters only empty the box") << "txtFrom" << "abc" << "";
    QTest::newRow("sign alone reads as 0") << "txtFrom" << "-" << "0";
    QTest::newRow("minus anywhere") << "txtTo" << "5-" << "-5";
    QTest::newRow("second point dropped") << "txtTo" << "1.2.5" << "1.25";
    QTest::newRow("point alone reads as 0") << "txtTo" << "." << "0";
    QTest::newRow("small number in exponent form") << "txtFrom" << "0.00001" << "1E-05";
    QTest::newRow("large number in exponent form") << "txtTo" << "123456789012345678" << "1.23456789012346E+17";
}

void tst_Graph::rangeFieldLeft()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, left);
    showGraph();
    QVERIFY(QTest::qWaitForWindowActive(graph.get()));
    auto *field = graph->findChild<platform::TextBox *>(box);
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
    field->clear();
    QTest::keyClicks(field, typed);
    QTest::keyClick(field, Qt::Key_Tab);
    QTRY_VERIFY(!field->hasFocus());
    QCOMPARE(field->text(), left);
    // The focus passing through again changes nothing.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    QTRY_VERIFY(field->hasFocus());
    QTest::keyClick(field, Qt::Key_Tab);
    QTRY_VERIFY(!field->hasFocus());
    QCOMPARE(field->text(), left);
}

void tst_Graph::returningFromTheDialogMovesToTopLeft()
{
    showGraph();
    graph->move(120, 80);
    QCOMPARE(graph->pos(), QPoint(120, 80));
    withAxisDialog([](diaFunctions *) {});
    QTRY_COMPARE(graph->pos(), QPoint(0, 0));
}

// ---- Grid, labels and axes ----

void tst_Graph::labelForm_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << 0.0 << " 0 ";
    QTest::newRow("negative zero") << -0.0 << " 0 ";
    QTest::newRow("positive integer") << 10.0 << " 10 ";
    QTest::newRow("negative integer") << -10.0 << "-10 ";
    QTest::newRow("half without leading zero") << 0.5 << " .5 ";
    QTest::newRow("negative half") << -0.5 << "-.5 ";
    QTest::newRow("above one keeps its digits") << 4.5 << " 4.5 ";
    QTest::newRow("hundred") << 100.0 << " 100 ";
    QTest::newRow("small in exponent form") << 0.00001 << " 1E-05 ";
    QTest::newRow("large in exponent form") << 1e15 << " 1E+15 ";
    QTest::newRow("fifteen digits") << 0.1 + 0.2 << " .3 ";
    QTest::newRow("not a number has no label") << std::numeric_limits<double>::quiet_NaN() << "";
    QTest::newRow("infinity has no label") << std::numeric_limits<double>::infinity() << "";
}

void tst_Graph::labelForm()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(platform::LabelForm(value), text);
}

void tst_Graph::toScreen_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("range");
    QTest::addColumn<bool>("mapped");
    QTest::addColumn<float>("screen");

    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("default range is one to one") << 3.0 << 20.0 << true << 3.0f;
    QTest::newRow("end of a wide range at the grid edge") << -50.0 << 100.0 << true << -10.0f;
    QTest::newRow("narrow range stretches") << 0.25 << 1.0 << true << 5.0f;
    QTest::newRow("reversed range mirrors") << 2.0 << -20.0 << true << -2.0f;
    QTest::newRow("drawn in single precision") << 1.0 / 3 << 20.0 << true << static_cast<float>(1.0 / 3);
    QTest::newRow("largest single still maps") << double(FLT_MAX) << 20.0 << true << FLT_MAX;
    QTest::newRow("beyond single precision is refused") << 1e300 << 20.0 << false << 0.0f;
    QTest::newRow("tiny range overflows single precision") << 1.0 << 1e-300 << false << 0.0f;
    QTest::newRow("zero-width range is refused") << 1.0 << 0.0 << false << 0.0f;
    QTest::newRow("zero over zero-width range is refused") << 0.0 << 0.0 << false << 0.0f;
    QTest::newRow("not a number is refused") << nan << 20.0 << false << 0.0f;
}

// The mapping of equation values into the frame, as the points are drawn at.
void tst_Graph::toScreen()
{
    QFETCH(double, value);
    QFETCH(double, range);
    QFETCH(bool, mapped);
    QFETCH(float, screen);
    float actual = 0;
    QCOMPARE(PlotRenderer::toScreen(value, range, actual), mapped);
    if (mapped)
        QCOMPARE(actual, screen);
}

void tst_Graph::gridAndAxes()
{
    showGraph();
    QSignalSpy titles(graph.get(), &QWidget::windowTitleChanged);
    plot(QString());
    const PictureBox *pic = graph->picPlot;
    const QImage &image = pic->image();
    QCOMPARE(titles.count(), 0);
    QCOMPARE(CountColour(image, Blue), 0);

    constexpr int Half = PlotRenderer::GridHalf;
    const int top = pixelOf(pic, 0, Half).y();
    const int bottom = pixelOf(pic, 0, -Half).y();
    const int left = pixelOf(pic, -Half, 0).x();
    const int right = pixelOf(pic, Half, 0).x();
    for (int k = -Half; k <= Half; ++k) {
        if (k == 0)
            continue;
        // Vertical line: dotted, one pixel wide (its neighbours only meet the 21 crossings).
        const int x = pixelOf(pic, k, 0).x();
        const int vertical = CountColour(image, DarkRed, QRect(x, top, 1, bottom - top + 1));
        QVERIFY2(vertical > (bottom - top) / 4 && vertical < (bottom - top) * 3 / 4, qPrintable(QString::number(k)));
        QVERIFY(CountColour(image, DarkRed, QRect(x + 1, top, 1, bottom - top + 1)) <= 21);
        // Horizontal line, likewise.
        const int y = pixelOf(pic, 0, k).y();
        const int horizontal = CountColour(image, DarkRed, QRect(left, y, right - left + 1, 1));
        QVERIFY2(horizontal > (right - left) / 4 && horizontal < (right - left) * 3 / 4, qPrintable(QString::number(k)));
        QVERIFY(CountColour(image, DarkRed, QRect(left, y + 1, right - left + 1, 1)) <= 21);
    }
    // The axes: solid red, two pixels wide, over the grid.
    const QPoint origin = pixelOf(pic, 0, 0);
    const int between = pixelOf(pic, -7.5, 0).x();
    QCOMPARE(CountColour(image, Red, QRect(between, 0, 1, image.height())), 2);
    QCOMPARE(CountColour(image, Red, QRect(0, pixelOf(pic, 0, 7.5).y(), image.width(), 1)), 2);
    QCOMPARE(CountColour(image, Red, QRect(left, origin.y(), right - left, 1)), right - left);
    QCOMPARE(CountColour(image, Red, QRect(origin.x(), top, 1, bottom - top)), bottom - top);
    // Nothing is drawn outside the grid but labels.
    QCOMPARE(CountColour(image, DarkRed, QRect(right + 1, 0, image.width(), top)), 0);
}

void tst_Graph::labels_data()
{
    QTest::addColumn<double>("xMax");
    QTest::addColumn<double>("yMax");
    QTest::addColumn<bool>("onXAxis");
    QTest::addColumn<int>("k");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("notText");

    QTest::newRow("default X at -10") << 10.0 << 10.0 << true << -10 << "-10 " << "-9 ";
    QTest::newRow("default X at 3") << 10.0 << 10.0 << true << 3 << " 3 " << " 4 ";
    QTest::newRow("default X at 10 in the margin") << 10.0 << 10.0 << true << 10 << " 10 " << " 1 ";
    QTest::newRow("default Y at 5") << 10.0 << 10.0 << false << 5 << " 5 " << " 6 ";
    QTest::newRow("default Y at -10 in the margin") << 10.0 << 10.0 << false << -10 << "-10 " << "-1 ";
    QTest::newRow("XAxisMax 5: .5 without zero") << 5.0 << 10.0 << true << 1 << " .5 " << " 1 ";
    QTest::newRow("XAxisMax 5: -.5") << 5.0 << 10.0 << true << -1 << "-.5 " << "-1 ";
    QTest::newRow("XAxisMax 5: end reads 5") << 5.0 << 10.0 << true << 10 << " 5 " << " 10 ";
    QTest::newRow("XAxisMax 5 leaves Y labels") << 5.0 << 10.0 << false << 4 << " 4 " << " 2 ";
    QTest::newRow("YAxisMax 100: -90") << 10.0 << 100.0 << false << -9 << "-90 " << "-9 ";
    QTest::newRow("YAxisMax 100: end reads 100") << 10.0 << 100.0 << false << 10 << " 100 " << " 10 ";
    QTest::newRow("zero-width Y range reads 0") << 10.0 << 0.0 << false << 7 << " 0 " << " 7 ";
}

void tst_Graph::labels()
{
    QFETCH(double, xMax);
    QFETCH(double, yMax);
    QFETCH(bool, onXAxis);
    QFETCH(int, k);
    QFETCH(QString, text);
    QFETCH(QString, notText);
    showGraph();
    graph->setXAxisMax(xMax);
    graph->setXAxisMin(-xMax);
    graph->setYAxisMax(yMax);
    graph->setYAxisMin(-yMax);
    plot(QString());
    const double x = onXAxis ? k : 0;
    const double y = onXAxis ? 0 : k;
    QVERIFY(labelShows(graph->picPlot, x, y, text));
    QVERIFY(!labelShows(graph->picPlot, x, y, notText));
}

void tst_Graph::pictureSurvivesResizing()
{
    showGraph();
    plot("X");
    PictureBox *pic = graph->picPlot;
    const QImage before = pic->image().copy();
    pic->hide();
    pic->show();
    QCOMPARE(pic->image(), before);
    pic->resize(pic->width() + 40, pic->height() + 30);
    QCOMPARE(pic->image().copy(before.rect()), before);
    QCOMPARE(CountColour(pic->image(), platform::White, QRect(before.width(), 0, 40, 30)), 40 * 30);
}

// A plot starts from the last plot's axes only while they would be drawn the same: changed
// ranges are labelled anew, the same ranges again give the same picture, and a new size draws
// the axes to its corners.
void tst_Graph::replotRedrawsChangedAxes()
{
    showGraph();
    PictureBox *pic = graph->picPlot;
    plot("X");
    const QImage first = pic->image().copy();
    graph->setXAxisMax(5);
    graph->setXAxisMin(-5);
    plot("X");
    QVERIFY(labelShows(pic, 1, 0, " .5 "));
    graph->setXAxisMax(10);
    graph->setXAxisMin(-10);
    plot("X");
    plot("X");
    QCOMPARE(pic->image(), first);
    pic->resize(pic->width() + 40, pic->height() + 30);
    plot("X");
    QVERIFY(labelShows(pic, 10, 0, " 10 "));
    QVERIFY(labelShows(pic, 0, -10, "-10 "));
}

// ---- Plotting ----

void tst_Graph::parabola()
{
    showGraph();
    plot("X^2");
    const PictureBox *pic = graph->picPlot;
    const QImage &image = pic->image();
    // Drawn where X^2 <= 10, that is |X| up to about 3.16.
    QVERIFY(CountColour(image, Blue, columns(pic, -3.1, 3.1)) > 100);
    QCOMPARE(CountColour(image, Blue, columns(pic, PlotRenderer::Left, -3.2)), 0);
    QCOMPARE(CountColour(image, Blue, columns(pic, 3.2, PlotRenderer::Right)), 0);
    // The bottom of the curve sits at the origin; the value 9 at X = ±3.
    const QPoint origin = pixelOf(pic, 0, 0);
    QCOMPARE(image.pixel(origin) & 0xffffff, Blue & 0xffffff);
    QVERIFY(CountColour(image, Blue, QRect(pixelOf(pic, 3, 9) - QPoint(1, 1), QSize(3, 3))) > 0);
    QCOMPARE(CountColour(image, Blue, QRect(pixelOf(pic, 3, 5) - QPoint(3, 3), QSize(7, 7))), 0);
    QCOMPARE(graph->windowTitle(), QStringLiteral("Plotwell"));
}

void tst_Graph::valueBounds_data()
{
    QTest::addColumn<QString>("equation");
    QTest::addColumn<bool>("drawn");

    QTest::newRow("exactly YAxisMax is drawn") << "10" << true;
    QTest::newRow("just above YAxisMax is not") << "10.000001" << false;
    QTest::newRow("exactly YAxisMin is drawn") << "-10" << true;
    QTest::newRow("just below YAxisMin is not") << "-10.000001" << false;
    QTest::newRow("True counts as -1") << "X = X" << true;
    QTest::newRow("numeric text converts") << "\"2.5\"" << true;
    QTest::newRow("unparsable draws nothing") << "X^^2" << false;
    QTest::newRow("failure never draws at 0: division by zero") << "1 / (X - X)" << false;
    QTest::newRow("failure never draws at 0: domain error") << "Log(X - 100)" << false;
    QTest::newRow("failure never draws at 0: text not numeric") << "\"abc\"" << false;
    QTest::newRow("failure never draws at 0: Null") << "Null" << false;
}

void tst_Graph::valueBounds()
{
    QFETCH(QString, equation);
    QFETCH(bool, drawn);
    showGraph();
    plot(equation);
    QCOMPARE(CountColour(graph->picPlot->image(), Blue) > 0, drawn);
}

void tst_Graph::failedEquationThenNextDraws()
{
    showGraph();
    plot("Sin(", "-10", "10", "5", "-5");
    const PictureBox *pic = graph->picPlot;
    const QImage &image = pic->image();
    const int at5 = pixelOf(pic, 0, 5).y();
    const int atMinus5 = pixelOf(pic, 0, -5).y();
    QVERIFY(CountColour(image, Blue, QRect(0, at5, image.width(), 1)) > 100);
    QVERIFY(CountColour(image, Blue, QRect(0, atMinus5, image.width(), 1)) > 100);
    QCOMPARE(CountColour(image, Blue), CountColour(image, Blue, QRect(0, at5, image.width(), 1))
                                           + CountColour(image, Blue, QRect(0, atMinus5, image.width(), 1)));
}

void tst_Graph::startEqualsEnd_data()
{
    QTest::addColumn<QString>("eq1");
    QTest::addColumn<QString>("eq2");
    QTest::addColumn<QString>("eq3");
    QTest::addColumn<int>("points");

    QTest::newRow("one equation, one point") << "X" << "" << "" << 1;
    QTest::newRow("three equations, a point each") << "X" << "X + 1" << "X * 2" << 3;
    QTest::newRow("same value, same point") << "X" << "4 - X" << "" << 1;
}

void tst_Graph::startEqualsEnd()
{
    QFETCH(QString, eq1);
    QFETCH(QString, eq2);
    QFETCH(QString, eq3);
    QFETCH(int, points);
    showGraph();
    plot(eq1, "2", "2", eq2, eq3);
    QCOMPARE(CountColour(graph->picPlot->image(), Blue), points);
}

void tst_Graph::startAboveEnd()
{
    showGraph();
    plot("X", "8", "-8");
    const PictureBox *pic = graph->picPlot;
    QVERIFY(CountColour(pic->image(), Blue, columns(pic, -7.9, -0.1)) > 100);
    QVERIFY(CountColour(pic->image(), Blue, columns(pic, 0.1, 7.9)) > 100);
    QCOMPARE(CountColour(pic->image(), Blue, columns(pic, 8.1, PlotRenderer::Right)), 0);
}

void tst_Graph::captions_data()
{
    QTest::addColumn<QString>("eq1");
    QTest::addColumn<QString>("eq2");
    QTest::addColumn<QString>("eq3");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("all empty: caption unchanged") << "" << "" << "" << QStringList();
    QTest::newRow("blank-only equation is not skipped")
        << "   " << "" << "" << QStringList{"Graphing:    ", "Plotwell"};
    QTest::newRow("untrimmed, one after the other")
        << " X " << "" << "X^2" << QStringList{"Graphing:  X ", "Graphing: X^2", "Plotwell"};
}

void tst_Graph::captions()
{
    QFETCH(QString, eq1);
    QFETCH(QString, eq2);
    QFETCH(QString, eq3);
    QFETCH(QStringList, shown);
    showGraph();
    QSignalSpy titles(graph.get(), &QWidget::windowTitleChanged);
    plot(eq1, "-1", "1", eq2, eq3);
    QStringList actual;
    for (const QList<QVariant> &args : titles)
        actual << args.at(0).toString();
    QCOMPARE(actual, shown);
}

void tst_Graph::extremes_data()
{
    QTest::addColumn<QString>("equation");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<double>("xMax");
    QTest::addColumn<double>("yMax");
    QTest::addColumn<bool>("drawn");

    QTest::newRow("zero-width Y range") << "0" << "-10" << "10" << 10.0 << 0.0 << false;
    QTest::newRow("zero-width X range") << "X" << "-10" << "10" << 0.0 << 10.0 << false;
    QTest::newRow("both ranges zero") << "0" << "-10" << "10" << 0.0 << 0.0 << false;
    QTest::newRow("range of X overflows") << "1" << "-1E308" << "1E308" << 10.0 << 10.0 << false;
    QTest::newRow("mapping overflows single precision") << "X" << "1" << "10" << 1e-300 << 10.0 << false;
    QTest::newRow("axis width overflows a double") << "X" << "-10" << "10" << 1e308 << 10.0 << true;
    QTest::newRow("tiny Y range") << "0.5E-300" << "-10" << "10" << 10.0 << 1e-300 << true;
    QTest::newRow("empty range boxes read as 0") << "X + 1" << "" << "" << 10.0 << 10.0 << true;
}

void tst_Graph::extremes()
{
    QFETCH(QString, equation);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(double, xMax);
    QFETCH(double, yMax);
    QFETCH(bool, drawn);
    showGraph();
    graph->setXAxisMax(xMax);
    graph->setXAxisMin(-xMax);
    graph->setYAxisMax(yMax);
    graph->setYAxisMin(-yMax);
    plot(equation, start, end);
    QCOMPARE(CountColour(graph->picPlot->image(), Blue) > 0, drawn);
    QCOMPARE(graph->windowTitle(), QStringLiteral("Plotwell"));
    // The grid is still there.
    QVERIFY(CountColour(graph->picPlot->image(), Red) > 0);
}

void tst_Graph::readAtEverySample_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<double>("drawnAt");
    QTest::addColumn<double>("emptyAt");

    QTest::newRow("equation edited during the run") << "equation" << -5.0 << 5.0;
    QTest::newRow("Y range widened during the run") << "range" << 2.5 << 5.0;
    QTest::newRow("Start and End are read once") << "start" << 5.0 << -5.0;
}

// The change is made at the run's first yield, before its first sample.
void tst_Graph::readAtEverySample()
{
    QFETCH(QString, change);
    QFETCH(double, drawnAt);
    QFETCH(double, emptyAt);
    showGraph();
    QTimer::singleShot(0, graph.get(), [&] {
        if (change == "equation") {
            graph->txtFunc_1->setText("-5");
        } else if (change == "range") {
            graph->setYAxisMax(20);
            graph->setYAxisMin(-20);
        } else {
            graph->txtFrom->setText("100");
            graph->txtTo->setText("200");
        }
    });
    plot(change == "start" ? "X - (X - 5)" : "5");
    const PictureBox *pic = graph->picPlot;
    const QImage &image = pic->image();
    QVERIFY(CountColour(image, Blue, QRect(0, pixelOf(pic, 0, drawnAt).y(), image.width(), 1)) > 100);
    QCOMPARE(CountColour(image, Blue, QRect(0, pixelOf(pic, 0, emptyAt).y(), image.width(), 1)), 0);
}

// Plot pressed during a run starts a whole new run; the interrupted one then goes on.
void tst_Graph::nestedPlot()
{
    showGraph();
    QSignalSpy titles(graph.get(), &QWidget::windowTitleChanged);
    bool nested = false;
    QTimer::singleShot(0, graph.get(), [&] {
        nested = true;
        graph->cmdPlot->click();
    });
    plot("X", "-10", "10", "X^2");
    QVERIFY(nested);
    QStringList actual;
    for (const QList<QVariant> &args : titles)
        actual << args.at(0).toString();
    const QStringList expected = {"Graphing: X", "Graphing: X^2", "Graphing: X", "Graphing: X^2", "Plotwell"};
    QCOMPARE(actual, expected);
    const PictureBox *pic = graph->picPlot;
    QVERIFY(CountColour(pic->image(), Blue, columns(pic, 4, 9)) > 100);      // the line X
    QCOMPARE(pic->image().pixel(pixelOf(pic, 0, 0)) & 0xffffff, Blue & 0xffffff); // X^2 at 0
}

// An auto-clicker on Plot during runs: nested runs stay within a bound, and the picture
// and the caption end as after one run.
void tst_Graph::pressesDuringRunsStayBounded()
{
    showGraph();
    graph->txtFrom->setText("-10");
    graph->txtTo->setText("10");
    graph->txtFunc_1->setText("X");
    testing::RepeatedPresses presses(graph->cmdPlot, 3000);
    QTRY_VERIFY(presses.done());
    QVERIFY2(presses.stackSpan() < 256 * 1024, qPrintable(QString::number(presses.stackSpan())));
    QCOMPARE(graph->windowTitle(), QStringLiteral("Plotwell"));
    const PictureBox *pic = graph->picPlot;
    QVERIFY(CountColour(pic->image(), Blue, columns(pic, -9, 9)) > 100);
}

// A box of blanks is evaluated and has no value anywhere, as in the table.
void tst_Graph::blankEquationDrawsNothing()
{
    showGraph();
    QSignalSpy titles(graph.get(), &QWidget::windowTitleChanged);
    plot("   ");
    QCOMPARE(CountColour(graph->picPlot->image(), Blue), 0);
    QCOMPARE(titles.value(0).value(0).toString(), QStringLiteral("Graphing:    "));
}

// Alt+P cleans the Start box the caret is in before the run reads it.
void tst_Graph::accessKeyCleansStart()
{
    showGraph();
    graph->txtTo->setText("10");
    graph->txtFunc_1->setText("5");
    graph->txtFrom->setText(QString());
    graph->txtFrom->SetFocus();
    QTest::keyClicks(graph->txtFrom, "1-0");
    QTest::keyClick(graph.get(), Qt::Key_P, Qt::AltModifier);
    QTRY_COMPARE(graph->txtFrom->text(), QStringLiteral("-10"));
    const PictureBox *pic = graph->picPlot;
    QTRY_VERIFY(CountColour(pic->image(), Blue, columns(pic, -9, -1)) > 100);
}

// Opening, plotting and closing the graph window again and again leaves the heap level:
// nothing of a closed window stays behind.
void tst_Graph::openingsKeepNoMemory()
{
    main->txtFrom->setText("-1");
    main->txtTo->setText("1");
    main->txtFunc1->setText("X");
    auto openPlotClose = [this] {
        testing::OnNextModal([](QWidget *w) {
            if (auto *g = qobject_cast<frmGraph *>(w))
                g->cmdPlot->click();
            w->close();
        });
        main->cmdGraph_Click();
    };
    openPlotClose();
    openPlotClose();
    const auto before = static_cast<long long>(mallinfo2().uordblks);
    for (int i = 0; i < 40; ++i)
        openPlotClose();
    const long long growth = static_cast<long long>(mallinfo2().uordblks) - before;
    QVERIFY2(growth < 200 * 1024, qPrintable(QStringLiteral("heap grew by %1 bytes").arg(growth)));
}

// Ctrl+C in the graph window, and Copy in the drawing area's context menu, put the picture on
// the clipboard at the drawing area's size; in a field Ctrl+C still copies the field's text.
void tst_Graph::copyPicture()
{
    showGraph();
    plot("X");
    const QImage &picture = graph->picPlot->image();
    QCOMPARE(picture.size(), graph->picPlot->contentsRect().size());
    QVERIFY(CountColour(picture, Blue) > 100);

    QApplication::clipboard()->clear();
    graph->cmdPlot->setFocus();
    QTest::keySequence(graph->cmdPlot, QKeySequence::Copy);
    QImage copied = QApplication::clipboard()->image();
    QCOMPARE(copied.size(), picture.size());
    QCOMPARE(CountColour(copied, Blue), CountColour(picture, Blue));

    QApplication::clipboard()->clear();
    QCOMPARE(graph->picPlot->contextMenuPolicy(), Qt::ActionsContextMenu);
    QStringList captions;
    for (const QAction *action : graph->picPlot->actions())
        captions << action->text();
    QCOMPARE(captions, QStringList({"Copy", "Save Picture As\u2026", "Print Preview\u2026", "Print\u2026"}));
    graph->picPlot->actions()[0]->trigger();
    QCOMPARE(QApplication::clipboard()->image().size(), picture.size());

    graph->txtFunc_1->setFocus();
    graph->txtFunc_1->selectAll();
    QTest::keySequence(graph->txtFunc_1, QKeySequence::Copy);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("X"));
    QCOMPARE(testing::UnnamedControls(graph.get()), QStringList());
}

namespace {

// What an SVG file draws: the pixels its rectangles fill and the texts it writes, each with
// the colour given by the group around it; and its lines by colour.
struct SvgDrawing {
    std::set<std::pair<QRgb, QPoint>, bool (*)(const std::pair<QRgb, QPoint> &, const std::pair<QRgb, QPoint> &)>
        rects{[](const std::pair<QRgb, QPoint> &a, const std::pair<QRgb, QPoint> &b) {
            return std::tuple(a.first, a.second.x(), a.second.y()) < std::tuple(b.first, b.second.x(), b.second.y());
        }};
    struct Text {
        QString text;
        QPointF baseline;
    };
    QList<Text> texts;
    std::map<QRgb, int> lines;
    bool readable = false;
};

SvgDrawing readSvg(const QString &path)
{
    SvgDrawing drawing;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return drawing;
    QXmlStreamReader xml(&file);
    // The groups' fill and stroke colours and offsets, innermost last.
    struct Group {
        QString fill, stroke;
        QPointF offset;
    };
    QList<Group> groups{{}};
    auto number = [&](const char *name) { return xml.attributes().value(QLatin1String(name)).toDouble(); };
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::EndElement && xml.name() == QLatin1String("g")) {
            groups.removeLast();
            continue;
        }
        if (!xml.isStartElement())
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QLatin1String("g")) {
            Group g = groups.last();
            if (a.hasAttribute(QLatin1String("fill")))
                g.fill = a.value(QLatin1String("fill")).toString();
            if (a.hasAttribute(QLatin1String("stroke")))
                g.stroke = a.value(QLatin1String("stroke")).toString();
            // Only translations: the plot is drawn unscaled.
            const QString transform = a.value(QLatin1String("transform")).toString();
            if (transform.startsWith(QLatin1String("matrix("))) {
                const QStringList m = transform.mid(7).chopped(1).split(QLatin1Char(','));
                if (m.size() == 6 && m[0].toDouble() == 1 && m[3].toDouble() == 1)
                    g.offset = QPointF(m[4].toDouble(), m[5].toDouble());
            }
            groups << g;
        } else if (xml.name() == QLatin1String("rect") && groups.last().fill.startsWith(QLatin1Char('#'))) {
            const QPointF at = QPointF(number("x"), number("y")) + groups.last().offset;
            const QRgb colour = QColor(groups.last().fill).rgb() & 0xffffff;
            for (int dy = 0; dy < number("height"); ++dy)
                for (int dx = 0; dx < number("width"); ++dx)
                    drawing.rects.insert({colour, at.toPoint() + QPoint(dx, dy)});
        } else if (xml.name() == QLatin1String("polyline") && groups.last().stroke.startsWith(QLatin1Char('#'))) {
            ++drawing.lines[QColor(groups.last().stroke).rgb() & 0xffffff];
        } else if (xml.name() == QLatin1String("text")) {
            const QPointF at = QPointF(number("x"), number("y")) + groups.last().offset;
            drawing.texts << SvgDrawing::Text{xml.readElementText(), at};
        }
    }
    drawing.readable = !xml.hasError();
    return drawing;
}

// The labels a plot under the default axes writes, each once per axis.
QStringList defaultLabels()
{
    QStringList labels;
    for (int axis = 0; axis < 2; ++axis)
        for (int k = -PlotRenderer::GridHalf; k <= PlotRenderer::GridHalf; ++k)
            labels << platform::LabelForm(k).trimmed();
    labels.sort();
    return labels;
}

} // namespace

// A picture saved as PNG is the retained picture, pixel for pixel.
void tst_Graph::pngIsThePicture()
{
    showGraph();
    plot("X^2/5-5", "-10", "10", "X");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plot.png"));
    QVERIFY(graph->picPlot->SavePicture(path, PictureBox::PictureFormat::Png));
    QImage saved(path);
    QVERIFY(!saved.isNull());
    QImage picture = graph->picPlot->image().convertToFormat(QImage::Format_RGB32);
    saved = saved.convertToFormat(QImage::Format_RGB32);
    saved.setDevicePixelRatio(picture.devicePixelRatio());
    QCOMPARE(saved, picture);
}

// A picture saved as SVG is shapes and text: its points fill exactly the pixels the blue
// points take in the picture, every label is a text at its place, and the grid and the axes
// are lines.
void tst_Graph::svgHoldsShapesAndText()
{
    showGraph();
    plot("X^2/5-5", "-10", "10", "Sin(X)*5");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plot.svg"));
    QVERIFY(graph->picPlot->SavePicture(path, PictureBox::PictureFormat::Svg));
    const SvgDrawing svg = readSvg(path);
    QVERIFY(svg.readable);

    const QImage &picture = graph->picPlot->image();
    QCOMPARE(picture.devicePixelRatio(), 1.0);
    std::set<std::pair<int, int>> bluePixels, blueRects;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if ((picture.pixel(x, y) & 0xffffff) == (Blue & 0xffffff))
                bluePixels.insert({x, y});
    for (const auto &[colour, at] : svg.rects)
        if (colour == (Blue & 0xffffff))
            blueRects.insert({at.x(), at.y()});
    QVERIFY(bluePixels.size() > 1000);
    QVERIFY(blueRects == bluePixels);

    const int lineHeight = QFontMetrics(graph->picPlot->font()).height();
    QStringList written;
    for (const SvgDrawing::Text &t : svg.texts)
        written << t.text.trimmed();
    written.sort();
    QCOMPARE(written, defaultLabels());
    for (int k = -PlotRenderer::GridHalf; k <= PlotRenderer::GridHalf; ++k) {
        for (const QPoint corner : {pixelOf(graph->picPlot, k, 0), pixelOf(graph->picPlot, 0, k)}) {
            // The label's text starts at its corner, its baseline within the line below it.
            const bool found = std::any_of(svg.texts.begin(), svg.texts.end(), [&](const SvgDrawing::Text &t) {
                return t.text == platform::LabelForm(k) && std::abs(t.baseline.x() - corner.x()) <= 1
                       && t.baseline.y() > corner.y() && t.baseline.y() <= corner.y() + lineHeight;
            });
            QVERIFY2(found, qPrintable(QStringLiteral("label %1 at %2, %3").arg(k).arg(corner.x()).arg(corner.y())));
        }
    }
    QCOMPARE(svg.lines.at(DarkRed & 0xffffff), 2 * (2 * PlotRenderer::GridHalf + 1));
    QCOMPARE(svg.lines.at(Red & 0xffffff), 2);
}

void tst_Graph::pdfHoldsThePlot_data()
{
    QTest::addColumn<bool>("printed");
    QTest::newRow("saved as PDF") << false;
    QTest::newRow("printed to a PDF file") << true;
}

// The picture on paper, or in a PDF, is one page holding every label as text.
void tst_Graph::pdfHoldsThePlot()
{
    QFETCH(bool, printed);
    showGraph();
    plot("X");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plot.pdf"));
    if (printed) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        QVERIFY(graph->picPlot->PrintPicture(printer));
    } else {
        QVERIFY(graph->picPlot->SavePicture(path, PictureBox::PictureFormat::Pdf));
    }
    const QStringList pages = testing::PdfPages(path);
    QCOMPARE(pages.size(), 1);
    QStringList words = pages[0].split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    words.sort();
    // The two labels of the origin lie on each other; pdftotext reads them as one.
    QStringList labels = defaultLabels();
    labels.removeOne(QStringLiteral("0"));
    QCOMPARE(words, labels);
}

void tst_Graph::saveAndPrintKeys_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QKeySequence::StandardKey>("key");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("Ctrl+S on the Plot button") << "cmdPlot" << QKeySequence::Save << "QFileDialog";
    QTest::newRow("Ctrl+P on the Plot button") << "cmdPlot" << QKeySequence::Print << "QPrintDialog";
    QTest::newRow("Ctrl+S in a field") << "txtFunc_1" << QKeySequence::Save << "";
    QTest::newRow("Ctrl+P in a field") << "txtFrom" << QKeySequence::Print << "";
}

// Ctrl+S and Ctrl+P in the graph window open the save and print dialogs, except in a field.
void tst_Graph::saveAndPrintKeys()
{
    QFETCH(QString, focus);
    QFETCH(QKeySequence::StandardKey, key);
    QFETCH(QString, dialog);
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    showGraph();
    QString opened;
    testing::OnNextModal([&](QWidget *modal) {
        opened = QLatin1String(modal->metaObject()->className());
        modal->close();
    });
    auto *target = graph->findChild<QWidget *>(focus);
    target->setFocus();
    QTest::keySequence(target, key);
    // A dialog would have been shown and closed by now: its loop runs inside the key press.
    QCOMPARE(opened, dialog);
}

void tst_Graph::printPreview_data()
{
    QTest::addColumn<QString>("item");
    QTest::newRow("the picture") << "previewPicture";
    QTest::newRow("a short table") << "previewTable";
}

// "Print Preview…" in the context menus shows the pages: one for the plot, one for a table
// of a few rows.
void tst_Graph::printPreview()
{
    QFETCH(QString, item);
    main->msGrid->setRows(5);
    showGraph();
    plot("X");
    QAction *action = graph->findChild<QAction *>(item);
    if (!action)
        action = main->findChild<QAction *>(item);
    QVERIFY(action);
    int pages = -1;
    testing::OnNextModal([&](QWidget *modal) {
        QVERIFY(qobject_cast<QPrintPreviewDialog *>(modal));
        auto *preview = modal->findChild<QPrintPreviewWidget *>();
        QVERIFY(preview);
        QTRY_VERIFY(preview->pageCount() > 0);
        pages = preview->pageCount();
        modal->close();
    });
    action->trigger();
    QCOMPARE(pages, 1);
}

void tst_Graph::closeDuringRun_data()
{
    testing::AddClosingRows();
}

void tst_Graph::closeDuringRun()
{
    QFETCH(QString, how);
    QPointer<frmGraph> shown;
    int blueAfterRun = -1;
    bool visibleAfterRun = true;
    QString captionAfterRun;
    testing::OnNextModal([&](QWidget *w) {
        shown = qobject_cast<frmGraph *>(w);
        QVERIFY(shown);
        QTimer::singleShot(0, shown, [&] { testing::CloseBy(how, shown); });
        shown->txtFunc_1->setText("X");
        shown->txtFunc_2->setText("X^2");
        shown->txtFrom->setText("-10");
        shown->txtTo->setText("10");
        shown->cmdPlot->click();
        // The run has stopped at its first yield: grid drawn, no point, window closed.
        blueAfterRun = CountColour(shown->picPlot->image(), Blue);
        visibleAfterRun = shown->isVisible();
        captionAfterRun = shown->windowTitle();
    });
    main->cmdGraph_Click();
    QCOMPARE(blueAfterRun, 0);
    QVERIFY(!visibleAfterRun);
    QCOMPARE(captionAfterRun, QStringLiteral("Plotwell"));
    QVERIFY(shown.isNull());
    QVERIFY(!frmGraph::instance());
}

// A close that arrives in the middle of a plot, thousands of samples after its first yield:
// once the close is handled the run sets no point, and the window closes after the run. A
// clock that moves a quarter slice per read puts the yields, and the close, at defined samples.
void tst_Graph::closeMidRun()
{
    showGraph();
    int reads = 0;
    QImage atClose;
    platform::SetYieldClock([&] {
        if (++reads == 4000) {
            QTimer::singleShot(0, graph.get(), [&] {
                atClose = graph->picPlot->image();
                graph->close();
            });
        }
        return std::chrono::steady_clock::time_point(reads * platform::YieldSlice / 4);
    });
    const auto restoreClock = qScopeGuard([] { platform::SetYieldClock({}); });
    plot("X");
    const PictureBox *pic = graph->picPlot;
    QVERIFY(CountColour(atClose, Blue, columns(pic, -9, -5)) > 100);
    QCOMPARE(CountColour(atClose, Blue, columns(pic, 5, 9)), 0);
    QVERIFY(pic->image() == atClose);
    QVERIFY(!graph->isVisible());
}

// ---- The Axis Scales dialog ----

void tst_Graph::axisDialog_data()
{
    QTest::addColumn<QStringList>("typed");   // XMin, XMax, YMin, YMax; null: not touched
    QTest::addColumn<QString>("finish");      // OK, Cancel, close box
    QTest::addColumn<QStringList>("shown");   // the boxes after leaving them
    QTest::addColumn<double>("xMax");
    QTest::addColumn<double>("yMax");

    const QString none;
    QTest::newRow("OK untouched writes the same ranges")
        << QStringList{none, none, none, none} << "OK" << QStringList{"", "", "", ""} << 7.0 << 3.0;
    QTest::newRow("XMax -20 shows 20")
        << QStringList{none, "-20", none, none} << "OK" << QStringList{"", "20", "", ""} << 20.0 << 3.0;
    QTest::newRow("YMax 5 and YMin 1 give -5..5")
        << QStringList{none, none, "1", "5"} << "OK" << QStringList{"", "", "1", "5"} << 7.0 << 5.0;
    QTest::newRow("XMax 8.50 shows 8.5")
        << QStringList{none, "8.50", none, none} << "OK" << QStringList{"", "8.5", "", ""} << 8.5 << 3.0;
    QTest::newRow("letters empty the box and keep the value")
        << QStringList{none, "abc", none, "xyz"} << "OK" << QStringList{"", "", "", ""} << 7.0 << 3.0;
    QTest::newRow("minima keep their sign and are never applied")
        << QStringList{"-30", none, "40", none} << "OK" << QStringList{"-30", "", "40", ""} << 7.0 << 3.0;
    QTest::newRow("maximum 0 is accepted")
        << QStringList{none, none, none, "0"} << "OK" << QStringList{"", "", "", "0"} << 7.0 << 0.0;
    QTest::newRow("Cancel writes nothing")
        << QStringList{none, "50", none, "60"} << "Cancel" << QStringList{"", "50", "", "60"} << 7.0 << 3.0;
    QTest::newRow("close box writes nothing")
        << QStringList{none, "50", none, "60"} << "close" << QStringList{"", "50", "", "60"} << 7.0 << 3.0;
    QTest::newRow("XMax 0.00001 in exponent form")
        << QStringList{none, "0.00001", none, none} << "OK" << QStringList{"", "1E-05", "", ""} << 0.00001 << 3.0;
    QTest::newRow("YMax 1000000000000000 in exponent form")
        << QStringList{none, none, none, "1000000000000000"} << "OK" << QStringList{"", "", "", "1E+15"} << 7.0 << 1e15;
}

void tst_Graph::axisDialog()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, finish);
    QFETCH(QStringList, shown);
    QFETCH(double, xMax);
    QFETCH(double, yMax);
    showGraph();
    graph->setXAxisMax(7);
    graph->setXAxisMin(-7);
    graph->setYAxisMax(3);
    graph->setYAxisMin(-3);
    QStringList actual;
    withAxisDialog([&](diaFunctions *dialog) {
        platform::TextBox *const boxes[] = {dialog->txtXMin, dialog->txtXMax, dialog->txtYMin, dialog->txtYMax};
        for (int i = 0; i < 4; ++i) {
            if (typed[i].isNull())
                continue;
            boxes[i]->setFocus();
            QTest::keyClicks(boxes[i], typed[i]);
            QTest::keyClick(boxes[i], Qt::Key_Tab);
        }
        // The focus passing through each box again changes neither text nor value.
        for (platform::TextBox *box : boxes) {
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Tab);
        }
        for (platform::TextBox *box : boxes)
            actual << box->text();
        if (finish == "OK")
            testing::Click(dialog->OKButton);
        else if (finish == "Cancel")
            testing::Click(dialog->CancelButton);
        else
            dialog->close();
        QVERIFY(!dialog->isVisible());
    });
    QCOMPARE(actual, shown);
    QCOMPARE(graph->XAxisMax(), xMax);
    QCOMPARE(graph->XAxisMin(), -xMax);
    QCOMPARE(graph->YAxisMax(), yMax);
    QCOMPARE(graph->YAxisMin(), -yMax);
}

void tst_Graph::axisDialogIgnoresEnterAndEsc()
{
    showGraph();
    withAxisDialog([&](diaFunctions *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Axis Scales"));
        QVERIFY(!dialog->OKButton->autoDefault() && !dialog->OKButton->isDefault());
        QVERIFY(!dialog->CancelButton->autoDefault() && !dialog->CancelButton->isDefault());
        dialog->txtXMax->setFocus();
        QTest::keyClicks(dialog->txtXMax, "40");
        for (QWidget *target : {static_cast<QWidget *>(dialog->txtXMax), static_cast<QWidget *>(dialog->OKButton),
                                static_cast<QWidget *>(dialog->CancelButton)}) {
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Return);
            QTest::keyClick(target, Qt::Key_Enter);
            QTest::keyClick(target, Qt::Key_Escape);
            QVERIFY2(dialog->isVisible(), qPrintable(target->objectName()));
        }
        QCOMPARE(dialog->txtXMax->text(), QStringLiteral("40"));
        testing::Click(dialog->OKButton);
    });
    QCOMPARE(graph->XAxisMax(), 40.0);
    QCOMPARE(graph->XAxisMin(), -40.0);
}

void tst_Graph::axisDialogReopensEmpty()
{
    showGraph();
    withAxisDialog([&](diaFunctions *dialog) {
        dialog->txtXMin->setFocus();
        QTest::keyClicks(dialog->txtXMin, "-2");
        QTest::keyClick(dialog->txtXMin, Qt::Key_Tab);
        QTest::keyClicks(dialog->txtXMax, "20");
        testing::Click(dialog->OKButton);
    });
    QCOMPARE(graph->XAxisMax(), 20.0);
    withAxisDialog([&](diaFunctions *dialog) {
        for (platform::TextBox *box : {dialog->txtXMin, dialog->txtXMax, dialog->txtYMin, dialog->txtYMax})
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(dialog->txtXMin));
        testing::Click(dialog->OKButton);
    });
    // OK without typing writes back what the window had.
    QCOMPARE(graph->XAxisMax(), 20.0);
    QCOMPARE(graph->XAxisMin(), -20.0);
}

void tst_Graph::endingTheProgramStopsTheRun()
{
    showGraph();
    QTimer::singleShot(0, graph.get(), [] { platform::EndProgram(); });
    plot("X", "-10", "10", "X^2", "X^3");
    QCOMPARE(CountColour(graph->picPlot->image(), Blue), 0);
    QCOMPARE(graph->windowTitle(), QStringLiteral("Plotwell"));
    QVERIFY(!graph->isVisible());
    QVERIFY(QApplication::overrideCursor() == nullptr);  // the busy pointer is gone
}

QTEST_MAIN(tst_Graph)
#include "tst_graph.moc"
