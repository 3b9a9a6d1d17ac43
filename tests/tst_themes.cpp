#include "graph/frmGraph.h"
#include "helpers/ModalDriver.h"
#include "main/frmMain.h"
#include "platform/Colours.h"
#include "platform/PictureBox.h"
#include "platform/Program.h"
#include "platform/TextBox.h"

#include <QApplication>
#include <QPushButton>
#include <QStyle>
#include <QtTest>

#include <functional>
#include <memory>

// Every window under a light, a dark and a high-contrast desktop palette: each text reads
// against what lies behind it, the plot's labels included.
class tst_Themes : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void textsRead_data();
    void textsRead();
};

namespace {

QPalette dark()
{
    // A dark desktop's palette as a Qt program receives it (qt6ct's "darker" scheme).
    QPalette palette(QColor(0xffffff), QColor(0x424245), QColor(0x979797), QColor(0x302f2e), QColor(0x4a4947),
                     QColor(0xffffff), QColor(0xffffff), QColor(0x3d3d3d), QColor(0x222020));
    palette.setColor(QPalette::Highlight, QColor(0x12608a));
    palette.setColor(QPalette::HighlightedText, QColor(0xf9f9f9));
    return palette;
}

QPalette highContrast()
{
    QPalette palette(Qt::white, Qt::black, Qt::white, Qt::white, Qt::white, Qt::white, Qt::white, Qt::black,
                     Qt::black);
    palette.setColor(QPalette::Highlight, Qt::yellow);
    palette.setColor(QPalette::HighlightedText, Qt::black);
    return palette;
}

// Dark, neutral pixels against the picture's white: the labels, which nothing else draws in grey.
int readableLabelPixels(const QImage &picture)
{
    int count = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor colour = picture.pixelColor(x, y);
            const bool neutral = std::max({colour.red(), colour.green(), colour.blue()})
                    - std::min({colour.red(), colour.green(), colour.blue()}) < 16;
            count += neutral && platform::ContrastRatio(colour, platform::White) >= platform::ReadableContrast;
        }
    }
    return count;
}

} // namespace

void tst_Themes::cleanup()
{
    QApplication::setPalette(QApplication::style()->standardPalette());
    platform::BeginProgram();
}

void tst_Themes::textsRead_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::addColumn<std::function<QWidget *()>>("make");
    const std::pair<const char *, QPalette> palettes[] = {
        {"light", QApplication::style()->standardPalette()}, {"dark", dark()}, {"high contrast", highContrast()}};
    for (const auto &[theme, palette] : palettes) {
        for (const testing::WindowMaker &window : testing::ProgramWindows())
            QTest::addRow("%s, %s", theme, window.name) << palette << window.make;
    }
}

// Each window is shown as a user sees it after using it: the main window after a run, the
// graph window after a plot.
void tst_Themes::textsRead()
{
    QFETCH(QPalette, palette);
    QFETCH(std::function<QWidget *()>, make);
    QApplication::setPalette(palette);
    std::unique_ptr<QWidget> window(make());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    if (auto *main = qobject_cast<frmMain *>(window.get())) {
        main->txtFrom->setText(QStringLiteral("-1"));
        main->txtTo->setText(QStringLiteral("1"));
        main->txtInc->setText(QStringLiteral(".5"));
        main->txtFunc1->setText(QStringLiteral("1/X"));
        main->cmdEvaluate->click();
    }
    if (auto *graph = qobject_cast<frmGraph *>(window.get())) {
        graph->txtFunc_1->setText(QStringLiteral("X"));
        graph->cmdPlot->click();
        // The axis labels stand out from the white drawing area.
        QVERIFY(readableLabelPixels(graph->picPlot->image()) > 100);
    }
    const QStringList unreadable = testing::UnreadableTexts(window.get());
    QVERIFY2(unreadable.isEmpty(), qPrintable(unreadable.join(QStringLiteral(", "))));
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    platform::PrepareApplication();
    tst_Themes test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_themes.moc"
