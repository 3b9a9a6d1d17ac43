#include "graph/diaFunctions.h"
#include "graph/frmGraph.h"
#include "helpers/ModalDriver.h"
#include "helpers/Pixels.h"
#include "input/diaOptions.h"
#include "main/frmMain.h"
#include "platform/Colours.h"
#include "platform/FlexGrid.h"
#include "platform/PictureBox.h"
#include "platform/Program.h"
#include "platform/TextBox.h"

#include <QAction>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <cmath>

// A user's first day, end to end: the worked example tabulated and checked against values
// computed here, other decimal places, a plot, new axis scales, every dialog, and exit.
class tst_FirstDay : public QObject
{
    Q_OBJECT

private slots:
    void firstDay();
};

namespace {

void typeInto(platform::TextBox *box, const QString &text)
{
    box->SetFocus();
    QTest::keyClicks(box, text);
}

// X as the engine sees it: rounded to 15 significant digits.
double asSeen(double x)
{
    return QString::number(x, 'g', 15).toDouble();
}

void closeNextWindow(QStringList *seen)
{
    testing::OnNextModal([seen](QWidget *w) {
        *seen << w->metaObject()->className();
        w->close();
    });
}

} // namespace

void tst_FirstDay::firstDay()
{
    frmMain form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));

    typeInto(form.txtFrom, "-10");
    typeInto(form.txtTo, "10");
    typeInto(form.txtInc, ".1");
    typeInto(form.txtFunc1, "(X^2)-(5*X)+3");
    typeInto(form.txtFunc2, "(X^-3)*Sin(X)");
    typeInto(form.txtFunc3, "X/2+5");
    testing::Click(form.cmdEvaluate);

    platform::FlexGrid *grid = form.msGrid;
    QCOMPARE(grid->Rows(), 202);
    double x = -10;
    for (int row = 1; row <= 201; ++row, x += 0.1) {
        if (row % 37 != 1 && row != 201)
            continue;
        const double seen = asSeen(x);
        QCOMPARE(grid->TextMatrix(row, 0), QString::number(seen, 'f', 4));
        QVERIFY(std::abs(grid->TextMatrix(row, 1).toDouble() - (seen * seen - 5 * seen + 3)) <= 0.00005);
        QVERIFY(std::abs(grid->TextMatrix(row, 3).toDouble() - (seen / 2 + 5)) <= 0.00005);
        const double y2 = std::pow(seen, -3) * std::sin(seen);
        QVERIFY2(std::abs(grid->TextMatrix(row, 2).toDouble() - y2) <= 0.00005 + 1e-12 * std::abs(y2),
                 qPrintable(grid->TextMatrix(row, 2)));
    }
    QCOMPARE(grid->TextMatrix(201, 0), QStringLiteral("10.0000"));

    testing::OnNextModal([](QWidget *w) {
        auto *options = qobject_cast<diaOptions *>(w);
        options->optDecimal[1]->setChecked(true);
        testing::Click(options->cmdOk);
    });
    form.mnuPlaces->trigger();
    testing::Click(form.cmdEvaluate);
    QCOMPARE(grid->TextMatrix(1, 0), QStringLiteral("-10.00"));
    QCOMPARE(grid->TextMatrix(1, 1), QStringLiteral("153.00"));
    QCOMPARE(grid->TextMatrix(1, 3), QStringLiteral("0.00"));

    int firstPlot = -1, secondPlot = -1;
    QString copiedStart;
    testing::OnNextModal([&](QWidget *w) {
        auto *graph = qobject_cast<frmGraph *>(w);
        QVERIFY(graph);
        copiedStart = graph->txtFrom->text();
        testing::Click(graph->cmdPlot);
        firstPlot = testing::CountColour(graph->picPlot->image(), platform::PlotPoint);
        testing::OnNextModal([](QWidget *d) {
            auto *axes = qobject_cast<diaFunctions *>(d);
            typeInto(axes->txtXMax, "20");
            typeInto(axes->txtYMax, "200");
            testing::Click(axes->OKButton);
        });
        graph->mnuAxis->trigger();
        QCOMPARE(graph->XAxisMax(), 20.0);
        QCOMPARE(graph->YAxisMin(), -200.0);
        testing::Click(graph->cmdPlot);
        secondPlot = testing::CountColour(graph->picPlot->image(), platform::PlotPoint);
        testing::Click(graph->cmdExit);
    });
    testing::Click(form.cmdGraph);
    QCOMPARE(copiedStart, QStringLiteral("-10"));
    QVERIFY(firstPlot > 0);
    QVERIFY(secondPlot > 0);
    QVERIFY(secondPlot != firstPlot);

    QStringList seen;
    for (QAction *item : {form.mnuHelpTopics, form.mnuTechSupport, form.mnuStore, form.mnuAbout}) {
        closeNextWindow(&seen);
        item->trigger();
    }
    closeNextWindow(&seen);
    testing::Click(form.cmdVisit);
    QCOMPARE(seen, (QStringList{"diaHelp", "diaTech", "diaStore", "frmAbout", "diaStore"}));
    QCOMPARE(form.pos(), QPoint(0, 0));

    testing::Click(form.cmdExit);
    QVERIFY(platform::ProgramEnding());
    QVERIFY(!form.isVisible());
}

QTEST_MAIN(tst_FirstDay)
#include "tst_firstday.moc"
