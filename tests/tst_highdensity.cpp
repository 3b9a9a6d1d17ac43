#include "graph/frmGraph.h"
#include "helpers/ModalDriver.h"
#include "main/frmMain.h"
#include "platform/Colours.h"
#include "platform/PictureBox.h"
#include "platform/Program.h"

#include <QApplication>
#include <QPushButton>
#include <QtTest>

#include <cmath>
#include <functional>
#include <memory>
#include <set>

// The windows on a high-density screen (QT_SCALE_FACTOR, 2 unless the environment says
// otherwise): everything scales, nothing is cut off, and the plot is drawn at the screen's
// resolution.
class tst_HighDensity : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void windowsScale_data();
    void windowsScale();
    void pictureAtScreenResolution();

private:
    static qreal scale() { return qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(); }
};

void tst_HighDensity::cleanup()
{
    platform::BeginProgram();
}

void tst_HighDensity::windowsScale_data()
{
    QTest::addColumn<std::function<QWidget *()>>("make");
    for (const testing::WindowMaker &window : testing::ProgramWindows())
        QTest::newRow(window.name) << window.make;
}

// Every window is drawn at the scale, and no text is cut off there.
void tst_HighDensity::windowsScale()
{
    QFETCH(std::function<QWidget *()>, make);
    std::unique_ptr<QWidget> window(make());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->devicePixelRatioF(), scale());
    const QStringList cut = testing::CutTexts(window.get());
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral(", "))));
}

// The retained picture holds one pixel per device pixel: a point covers the screen pixel it
// always covered, and lines and labels are drawn at the finer resolution, not enlarged.
void tst_HighDensity::pictureAtScreenResolution()
{
    frmMain main;
    frmGraph graph(GraphInputs{QStringLiteral("-10"), QStringLiteral("10"), {QStringLiteral("X")}});
    graph.show();
    QVERIFY(QTest::qWaitForWindowExposed(&graph));
    graph.cmdPlot->click();
    const QImage &picture = graph.picPlot->image();
    QCOMPARE(picture.devicePixelRatio(), scale());
    QCOMPARE(picture.size(), (QSizeF(graph.picPlot->contentsRect().size()) * scale()).toSize());

    // Each point is a square of the scale's side.
    const int side = std::max(1, static_cast<int>(std::lround(scale())));
    const QRgb blue = platform::PlotPoint.rgb();
    int points = 0;
    for (int y = 0; y + side <= picture.height() && points < 50; ++y) {
        for (int x = 0; x + side <= picture.width() && points < 50; ++x) {
            if (picture.pixel(x, y) != blue || (x > 0 && picture.pixel(x - 1, y) == blue)
                || (y > 0 && picture.pixel(x, y - 1) == blue))
                continue;
            ++points;
            for (int dy = 0; dy < side; ++dy)
                for (int dx = 0; dx < side; ++dx)
                    QCOMPARE(picture.pixel(x + dx, y + dy), blue);
        }
    }
    QVERIFY(points > 0);

    // An enlarged picture is made of uniform blocks of the scale's side; a picture drawn at
    // the screen's resolution (the labels' glyphs, the dotted grid) is not.
    if (side >= 2 && std::fabs(scale() - side) < 1e-9) {
        int finer = 0;
        for (int y = 0; y + side <= picture.height(); y += side) {
            for (int x = 0; x + side <= picture.width(); x += side) {
                std::set<QRgb> colours;
                for (int dy = 0; dy < side; ++dy)
                    for (int dx = 0; dx < side; ++dx)
                        colours.insert(picture.pixel(x + dx, y + dy));
                finer += colours.size() > 1;
            }
        }
        QVERIFY2(finer > 100, qPrintable(QString::number(finer)));
    }
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"))
        qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    platform::PrepareApplication();
    tst_HighDensity test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_highdensity.moc"
