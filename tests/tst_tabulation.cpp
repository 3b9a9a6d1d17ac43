#include "calc/modCalc.h"
#include "calc/modGrid.h"
#include "helpers/MainWindowTest.h"
#include "helpers/ModalDriver.h"
#include "helpers/PdfText.h"
#include "helpers/RepeatedPresses.h"
#include "input/diaOptions.h"
#include "main/frmMain.h"
#include "platform/Conversions.h"
#include "platform/Equations.h"
#include "platform/FileOutput.h"
#include "platform/FlexGrid.h"
#include "platform/Program.h"
#include "platform/TextBox.h"
#include "platform/Twips.h"

#include <QComboBox>
#include <QDirIterator>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <unistd.h>

#include <cmath>
#include <map>
#include <memory>
#include <vector>

// The Evaluate button end to end: range checks, reading count, the cells written, and
// the decimal places dialog that shapes them.
class tst_Tabulation : public testing::MainWindowTest
{
    Q_OBJECT

private slots:
    void init();

    void rangeChecks_data();
    void rangeChecks();
    void readingCount_data();
    void readingCount();
    void tooManyReadings_data();
    void tooManyReadings();
    void cells_data();
    void cells();
    void undefinedCellsUnformatted();
    void emptyEquationBoxes();
    void oldCellsKept();
    void equationsStoredTrimmed();
    void negativeIncrement();
    void stalledX();
    void newRunReplacesRunning();
    void pressesDuringRunsStayBounded();
    void accessKeyCleansField_data();
    void accessKeyCleansField();

    void optionsShowsCurrentPlaces();
    void optionsWritesOnlyOnOk();
    void optionsPosition();
    void optionsKeepsChoiceOnReturn();

    void evaluation_data();
    void evaluation();
    void modulesOutliveTheWindow();

    void savedTableReadsBack_data();
    void savedTableReadsBack();
    void saveTableThroughDialog();
    void failedSaveChangesNothing_data();
    void failedSaveChangesNothing();
    void printedTablePages();

    // Ends the program (no event loop runs again in this process): keep it last.
    void closingDuringRun();

private:
    void tabulateTexts();
    std::vector<QStringList> gridCells() const;
    void setRange(const QString &from, const QString &to, const QString &inc);
    QStringList column(int col, int rows) const;
    platform::FlexGrid *grid() const { return form->msGrid; }
};

void tst_Tabulation::init()
{
    MainWindowTest::init();
    for (int i = 0; i < platform::EquationCount; ++i)
        modCalc::SetEquation(i, QString());
}

void tst_Tabulation::setRange(const QString &from, const QString &to, const QString &inc)
{
    form->txtFrom->setText(from);
    form->txtTo->setText(to);
    form->txtInc->setText(inc);
}

QStringList tst_Tabulation::column(int col, int rows) const
{
    QStringList cells;
    for (int r = 1; r <= rows; ++r)
        cells << grid()->TextMatrix(r, col);
    return cells;
}

void tst_Tabulation::rangeChecks_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("inc");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");

    QTest::newRow("all empty: Start first") << "" << "" << "" << "Please enter value a for {Start:} before proceeding." << "txtFrom";
    QTest::newRow("End and Inc empty") << "1" << "" << "" << "Please enter value a for {End:} before proceeding." << "txtTo";
    QTest::newRow("Inc empty") << "1" << "2" << "" << "Please enter value a for {Inc:} before proceeding." << "txtInc";
    QTest::newRow("a blank is not empty") << " " << "" << "" << "Please enter value a for {End:} before proceeding." << "txtTo";
    QTest::newRow("Start equals End") << "5" << "5" << "1" << "{Start} value must be less then {End:} value." << "txtFrom";
    QTest::newRow("Start above End") << "-10" << "-20" << "1" << "{Start} value must be less then {End:} value." << "txtFrom";
    QTest::newRow("minus alone is 0 and passes") << "-" << "1" << "1" << "" << "";
}

void tst_Tabulation::rangeChecks()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, inc);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    form->txtFunc1->SetFocus();
    setRange(from, to, inc);
    grid()->setRows(7);
    testing::ShownMessage shown;
    testing::AnswerNextMessage(&shown);
    form->cmdEvaluate_Click();
    if (message.isEmpty()) {
        QVERIFY(!shown.shown);
        QCOMPARE(grid()->TextMatrix(1, 0), QStringLiteral("0.0000"));
        return;
    }
    QVERIFY(shown.shown);
    QCOMPARE(shown.title, QStringLiteral("Quarro"));
    QCOMPARE(shown.text, message);
    QCOMPARE(shown.icon, int(QMessageBox::Critical));
    QCOMPARE(shown.buttons, int(QMessageBox::Ok));
    QTRY_COMPARE(testing::FocusName(frmMain::instance()), focus);
    QCOMPARE(grid()->Rows(), 7);
}

// The grid gets the reading count plus two rows; halves go to the even count.
void tst_Tabulation::readingCount_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("inc");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("written");

    QTest::newRow("1 / 0.3 gives 3") << "0" << "1" << "0.3" << 5 << 4;
    QTest::newRow("2.5 goes to 2") << "0" << "5" << "2" << 4 << 3;
    QTest::newRow("3.5 goes to 4") << "0" << "7" << "2" << 6 << 4;
    QTest::newRow("1.5 goes to 2") << "0" << "1.5" << "1" << 4 << 2;
    QTest::newRow("0.3 in steps of 0.1: last row not reached") << "0" << "0.3" << "0.1" << 5 << 3;
    QTest::newRow("1 to 2 by 0.4") << "1" << "2" << "0.4" << 5 - 1 << 3;
    QTest::newRow("exactly 10000 accepted") << "0" << "10" << "0.001" << 10002 << 10001;
}

void tst_Tabulation::readingCount()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, inc);
    QFETCH(int, rows);
    QFETCH(int, written);
    setRange(from, to, inc);
    form->cmdEvaluate_Click();
    QCOMPARE(grid()->Rows(), rows);
    int filled = 0;
    for (int r = 1; r < grid()->Rows(); ++r)
        filled += grid()->TextMatrix(r, 0).isEmpty() ? 0 : 1;
    QCOMPARE(filled, written);
}

void tst_Tabulation::tooManyReadings_data()
{
    QTest::addColumn<QString>("inc");
    QTest::newRow("10101 readings") << "0.00099";
    QTest::newRow("Inc 0") << "0";
    QTest::newRow("Inc a point alone") << ".";
    QTest::newRow("quotient beyond 32 bits") << "0.0000000000001";
}

void tst_Tabulation::tooManyReadings()
{
    QFETCH(QString, inc);
    setRange("0", "10", inc);
    grid()->setTextMatrix(3, 2, QStringLiteral("old"));
    testing::ShownMessage shown;
    testing::AnswerNextMessage(&shown);
    form->cmdEvaluate_Click();
    QVERIFY(shown.shown);
    QCOMPARE(shown.title, QStringLiteral("Quarro"));
    QCOMPARE(shown.text, QStringLiteral("Too many readings!\nIncrease {Inc:} value or\nDecrase {Start:} and {End:} values."));
    QCOMPARE(grid()->Rows(), 100);
    QCOMPARE(grid()->TextMatrix(3, 2), QStringLiteral("old"));
}

void tst_Tabulation::cells_data()
{
    QTest::addColumn<QString>("equation");
    QTest::addColumn<short>("places");
    QTest::addColumn<QStringList>("xs");
    QTest::addColumn<QStringList>("ys");

    QTest::newRow("X^2 from 0 to 1 by 0.1")
        << "X^2" << short(4)
        << QStringList{"0.0000", "0.1000", "0.2000", "0.3000", "0.4000", "0.5000", "0.6000", "0.7000", "0.8000", "0.9000", "1.0000"}
        << QStringList{"0.0000", "0.0100", "0.0400", "0.0900", "0.1600", "0.2500", "0.3600", "0.4900", "0.6400", "0.8100", "1.0000"};
    QTest::newRow("one place: 1/3 shows 0.3")
        << "1/3" << short(1) << QStringList{"0.0", "0.1", "0.2"} << QStringList{"0.3", "0.3", "0.3"};
    QTest::newRow("true shows as 0")
        << "X=X" << short(4) << QStringList{"0.0000", "0.1000"} << QStringList{"0.0000", "0.0000"};
}

void tst_Tabulation::cells()
{
    QFETCH(QString, equation);
    QFETCH(short, places);
    QFETCH(QStringList, xs);
    QFETCH(QStringList, ys);
    const double end = (xs.size() - 1) / 10.0;
    setRange("0", QString::number(end), "0.1");
    form->txtFunc1->setText(equation);
    testing::OnNextModal([places](QWidget *w) {
        auto *dialog = qobject_cast<diaOptions *>(w);
        QVERIFY(dialog);
        dialog->optDecimal[places - 1]->setChecked(true);
        testing::Click(dialog->cmdOk);
    });
    form->mnuPlaces->trigger();
    form->cmdEvaluate_Click();
    QCOMPARE(column(0, int(xs.size())), xs);
    QCOMPARE(column(1, int(ys.size())), ys);
    QVERIFY(grid()->TextMatrix(1, 2).isEmpty());
    QVERIFY(grid()->TextMatrix(1, 3).isEmpty());
}

void tst_Tabulation::undefinedCellsUnformatted()
{
    setRange("-1", "1", "1");
    form->txtFunc1->setText("X+*2");
    form->txtFunc2->setText("X*2");
    form->cmdEvaluate_Click();
    QCOMPARE(column(0, 3), (QStringList{"-1.0000", "0.0000", "1.0000"}));
    QCOMPARE(column(1, 3), (QStringList{"UNDEF", "UNDEF", "UNDEF"}));
    // A failure leaves the engine usable for the next evaluation.
    QCOMPARE(column(2, 3), (QStringList{"-2.0000", "0.0000", "2.0000"}));
}

void tst_Tabulation::emptyEquationBoxes()
{
    setRange("0", "2", "1");
    form->cmdEvaluate_Click();
    QCOMPARE(column(0, 3), (QStringList{"0.0000", "1.0000", "2.0000"}));
    for (int c = 1; c < 4; ++c)
        QCOMPARE(column(c, 3), (QStringList{"", "", ""}));
}

// The grid is never cleared: fewer rows drop the bottom, an empty box keeps its column.
void tst_Tabulation::oldCellsKept()
{
    setRange("0", "4", "1");
    form->txtFunc2->setText("X+10");
    form->cmdEvaluate_Click();
    QCOMPARE(grid()->Rows(), 6);
    form->txtFunc2->clear();
    form->txtFunc1->setText("X");
    setRange("0", "2", "1");
    form->cmdEvaluate_Click();
    QCOMPARE(grid()->Rows(), 4);
    QCOMPARE(column(1, 3), (QStringList{"0.0000", "1.0000", "2.0000"}));
    QCOMPARE(column(2, 3), (QStringList{"10.0000", "11.0000", "12.0000"}));
}

void tst_Tabulation::equationsStoredTrimmed()
{
    setRange("0", "1", "1");
    form->txtFunc1->setText("  X+1  ");
    form->txtFunc2->setText("   ");  // blanks only: stored empty, no value
    form->cmdEvaluate_Click();
    QCOMPARE(modCalc::EvaluateEquation1(1), QStringLiteral("2"));
    QCOMPARE(modCalc::EvaluateEquation2(1), modCalc::Undefined());
    QCOMPARE(grid()->TextMatrix(2, 1), QStringLiteral("2.0000"));
    QCOMPARE(grid()->TextMatrix(2, 2), QStringLiteral("UNDEF"));
    // An empty box leaves the stored equation as it was.
    form->txtFunc1->clear();
    form->cmdEvaluate_Click();
    QCOMPARE(modCalc::EvaluateEquation1(1), QStringLiteral("2"));
}

void tst_Tabulation::negativeIncrement()
{
    setRange("0", "5", "-1");
    grid()->setRows(9);
    testing::ShownMessage shown;
    testing::AnswerNextMessage(&shown);
    form->cmdEvaluate_Click();
    QVERIFY(shown.shown);
    QCOMPARE(shown.title, QStringLiteral("Quarro"));
    QCOMPARE(shown.text, QStringLiteral("{Inc:} value must be greater than zero."));
    QTRY_COMPARE(testing::FocusName(frmMain::instance()), QStringLiteral("txtInc"));
    QCOMPARE(grid()->Rows(), 9);
}

// X + Inc rounds back to X: the run still ends once the grid's rows are used up.
void tst_Tabulation::stalledX()
{
    setRange("10000000000000000", "10000000000000008", "0.5");
    form->txtFunc1->setText("1");
    form->cmdEvaluate_Click();
    QCOMPARE(grid()->Rows(), 18);
    QCOMPARE(grid()->TextMatrix(17, 1), QStringLiteral("1.0000"));
}

void tst_Tabulation::newRunReplacesRunning()
{
    setRange("0", "1000", "1");
    form->txtFunc1->setText("X");
    bool started = false;
    QTimer::singleShot(0, form.get(), [&] {
        started = true;
        setRange("0", "3", "1");
        form->cmdEvaluate_Click();
    });
    form->cmdEvaluate_Click();
    QVERIFY(started);
    QCOMPARE(grid()->Rows(), 5);
    QCOMPARE(column(1, 4), (QStringList{"0.0000", "1.0000", "2.0000", "3.0000"}));
}

// An auto-clicker on Evaluate during runs: each press replaces the run, up to a bounded
// depth of nested runs, and the last run still fills the whole table.
void tst_Tabulation::pressesDuringRunsStayBounded()
{
    setRange("0", "200", "1");
    form->txtFunc1->setText("X*2");
    testing::RepeatedPresses presses(form->cmdEvaluate, 3000);
    QTRY_VERIFY(presses.done());
    QVERIFY2(presses.stackSpan() < 256 * 1024, qPrintable(QString::number(presses.stackSpan())));
    QCOMPARE(grid()->Rows(), 202);
    QCOMPARE(grid()->TextMatrix(201, 0), QStringLiteral("200.0000"));
    QCOMPARE(grid()->TextMatrix(201, 1), QStringLiteral("400.0000"));
}

void tst_Tabulation::accessKeyCleansField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("cleaned");
    QTest::addColumn<QString>("firstX");
    QTest::addColumn<QString>("secondX");

    QTest::newRow("Start 1-0") << "txtFrom" << "1-0" << "-10" << "-10.0000" << "-9.0000";
    QTest::newRow("End 5x") << "txtTo" << "5x" << "5" << "-2.0000" << "-1.0000";
    QTest::newRow("Inc -2") << "txtInc" << "-2" << "2" << "-2.0000" << "0.0000";
}

// Alt+V leaves the field the caret is in as a click on Evaluate does: the field is cleaned
// before the run reads it.
void tst_Tabulation::accessKeyCleansField()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, cleaned);
    QFETCH(QString, firstX);
    QFETCH(QString, secondX);
    setRange("-2", "5", "1");
    form->txtFunc1->setText("X");
    auto *box = form->findChild<platform::TextBox *>(field);
    box->setText(QString());
    box->SetFocus();
    QTest::keyClicks(box, typed);
    QTest::keyClick(form.get(), Qt::Key_V, Qt::AltModifier);
    QTRY_COMPARE(grid()->TextMatrix(1, 0), firstX);
    QCOMPARE(box->text(), cleaned);
    QCOMPARE(grid()->TextMatrix(2, 0), secondX);
    QCOMPARE(testing::FocusName(frmMain::instance()), QStringLiteral("cmdEvaluate"));
}

void tst_Tabulation::closingDuringRun()
{
    setRange("0", "5000", "1");
    form->txtFunc1->setText("X");
    // A zero-delay timer fires at the run's first yield, before any row is written.
    int rowsAtClose = -1;
    QTimer::singleShot(0, form.get(), [&] {
        for (rowsAtClose = 0; !grid()->TextMatrix(rowsAtClose + 1, 0).isEmpty(); ++rowsAtClose) {}
        form->close();
    });
    form->cmdEvaluate_Click();
    QVERIFY(platform::ProgramEnding());
    QCOMPARE(rowsAtClose, 0);
    // Nothing is written after the close.
    QVERIFY(grid()->TextMatrix(1, 0).isEmpty());
}

void tst_Tabulation::optionsShowsCurrentPlaces()
{
    bool checked4 = false;
    testing::OnNextModal([&](QWidget *w) {
        auto *dialog = qobject_cast<diaOptions *>(w);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Options"));
        checked4 = dialog->optDecimal[3]->isChecked() && !dialog->optDecimal[0]->isChecked();
        // The keyboard starts on the chosen option: Up moves the choice to 3 places.
        QTRY_COMPARE(QApplication::focusWidget(), dialog->optDecimal[3]);
        QTest::keyClick(dialog->optDecimal[3], Qt::Key_Up);
        QVERIFY(dialog->optDecimal[2]->isChecked());
        dialog->optDecimal[1]->setChecked(true);
        testing::Click(dialog->cmdOk);
    });
    form->mnuPlaces->trigger();
    QVERIFY(checked4);
    QCOMPARE(form->DecimalPlaces(), short(2));

    setRange("0", "1", "0.5");
    form->txtFunc1->setText("3.14159");
    form->cmdEvaluate_Click();
    QCOMPARE(column(0, 3), (QStringList{"0.00", "0.50", "1.00"}));
    QCOMPARE(grid()->TextMatrix(1, 1), QStringLiteral("3.14"));

    bool checked2 = false;
    testing::OnNextModal([&](QWidget *w) {
        auto *dialog = qobject_cast<diaOptions *>(w);
        checked2 = dialog && dialog->optDecimal[1]->isChecked();
        w->close();
    });
    form->mnuPlaces->trigger();
    QVERIFY(checked2);
}

void tst_Tabulation::optionsWritesOnlyOnOk()
{
    testing::OnNextModal([](QWidget *w) {
        auto *dialog = qobject_cast<diaOptions *>(w);
        dialog->optDecimal[0]->setChecked(true);
        dialog->close();
    });
    form->mnuPlaces->trigger();
    QCOMPARE(form->DecimalPlaces(), short(4));
}

// Coming back to the dialog from another application is no new activation: the choice made
// so far stays.
void tst_Tabulation::optionsKeepsChoiceOnReturn()
{
    testing::OnNextModal([](QWidget *w) {
        auto *dialog = qobject_cast<diaOptions *>(w);
        dialog->optDecimal[1]->setChecked(true);
        QEvent deactivate(QEvent::WindowDeactivate);
        QCoreApplication::sendEvent(dialog, &deactivate);
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(dialog, &activate);
        testing::Click(dialog->cmdOk);
    });
    form->mnuPlaces->trigger();
    QCOMPARE(form->DecimalPlaces(), short(2));
}

void tst_Tabulation::optionsPosition()
{
    QPoint first, second;
    testing::OnNextModal([&](QWidget *w) {
        first = w->pos();
        w->move(300, 200);
        w->close();
    });
    form->mnuPlaces->trigger();
    testing::OnNextModal([&](QWidget *w) {
        second = w->pos();
        w->close();
    });
    form->mnuPlaces->trigger();
    const QPoint expected(platform::TwipsToPixels(500), platform::TwipsToPixels(500));
    QCOMPARE(first, expected);
    QCOMPARE(second, expected);
}

// modCalc straight: the value as text, or UNDEF.
void tst_Tabulation::evaluation_data()
{
    QTest::addColumn<QString>("equation");
    QTest::addColumn<double>("x");
    QTest::addColumn<QString>("expected");

    QTest::newRow("X^2 at -3") << "X^2" << -3.0 << "9";
    QTest::newRow("X^2 at 0.5") << "X^2" << 0.5 << "0.25";
    QTest::newRow("lower-case x") << "x*2" << 4.0 << "8";
    QTest::newRow("no X") << "2+3" << 7.0 << "5";
    QTest::newRow("X to 15 digits") << "X" << 0.1 + 0.2 << "0.3";
    QTest::newRow("small X in exponent form") << "X" << 0.00001 << "1E-05";
    QTest::newRow("unparsable") << "X+*2" << 1.0 << "UNDEF";
    QTest::newRow("tab kept, still parses") << "X\t" << 2.0 << "2";
    QTest::newRow("division by zero") << "1/(X-1)" << 1.0 << "UNDEF";
    QTest::newRow("text value unchanged") << "\"a\" & X" << 1.0 << "a1";
    QTest::newRow("boolean") << "X>0" << 1.0 << "True";
    QTest::newRow("text reading UNDEF") << "\"UN\" & \"DEF\"" << 1.0 << "UNDEF";
    QTest::newRow("value near a rounding edge") << "X" << 0.12344999999999999 << "0.12345";
}

void tst_Tabulation::evaluation()
{
    QFETCH(QString, equation);
    QFETCH(double, x);
    QFETCH(QString, expected);
    modCalc::SetEquation1(equation);
    modCalc::SetEquation2(equation);
    QCOMPARE(modCalc::EvaluateEquation1(x), expected);
    QCOMPARE(modCalc::EvaluateEquation2(x), expected);
    // The table's cell is that text read as its leading number and shown with the places.
    for (int places : {1, 4}) {
        const QString cell = expected == modCalc::Undefined()
                                 ? expected
                                 : platform::FormatPattern(platform::LeadingNumber(expected), places);
        QCOMPARE(modCalc::CellText(1, x, places), cell);
    }
}

// The modules hold on to no part of a main window that is gone: no value, no write.
void tst_Tabulation::modulesOutliveTheWindow()
{
    form.reset();
    modCalc::SetEquation1(QStringLiteral("X+1"));
    QCOMPARE(modCalc::EvaluateEquation1(1), modCalc::Undefined());
    modGrid::SetGridRows(3);
    QCOMPARE(modGrid::GridAction(1), short(0));
    modGrid::SetCell(1, 1, QStringLiteral("2"));
    QCOMPARE(modGrid::GridAction(2), short(0));

    // The next main window hands over its own engine and grid.
    form = std::make_unique<frmMain>();
    QCOMPARE(modCalc::EvaluateEquation1(1), QStringLiteral("2"));
    modGrid::SetGridRows(3);
    modGrid::GridAction(2);
    QCOMPARE(grid()->TextMatrix(1, 1), QStringLiteral("2"));
}

// Tabulates an equation that is undefined for the negative half, then gives two cells a comma,
// quotes and a letter beyond ASCII. A run never writes such texts (every result shows through
// the number pattern), but the grid holds any text, and a file must keep it.
void tst_Tabulation::tabulateTexts()
{
    setRange("-1", "1", "0.5");
    form->txtFunc1->setText(QStringLiteral("Sqr(X)"));
    form->cmdEvaluate_Click();
    QCOMPARE(grid()->TextMatrix(1, 1), QStringLiteral("UNDEF"));
    grid()->setTextMatrix(1, 2, QStringLiteral("a,b"));
    grid()->setTextMatrix(2, 2, QStringLiteral("say \"h\u00e9\""));
}

std::vector<QStringList> tst_Tabulation::gridCells() const
{
    std::vector<QStringList> rows;
    for (int r = 0; r < grid()->Rows(); ++r) {
        rows.emplace_back();
        for (int c = 0; c < grid()->Cols(); ++c)
            rows.back() << grid()->TextMatrix(r, c);
    }
    return rows;
}

namespace {

// Reads delimited text as RFC 4180 has it: quoted fields may hold the separator, line
// breaks and doubled quotes. Every record must end with lineEnd.
std::vector<QStringList> parseTable(const QString &text, QChar separator, const QString &lineEnd)
{
    std::vector<QStringList> rows(1);
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (quoted) {
            if (ch == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"'))
                field += text[++i];
            else if (ch == QLatin1Char('"'))
                quoted = false;
            else
                field += ch;
        } else if (ch == QLatin1Char('"')) {
            quoted = true;
        } else if (ch == separator) {
            rows.back() << field;
            field.clear();
        } else if (text.mid(i, lineEnd.size()) == lineEnd) {
            rows.back() << field;
            field.clear();
            rows.emplace_back();
            i += lineEnd.size() - 1;
        } else {
            field += ch;
        }
    }
    if (rows.back().isEmpty() && field.isEmpty())
        rows.pop_back();
    else
        rows.back() << field;  // a last record without its line end: parses, but differs
    return rows;
}

// Every file and folder under the folder, with the contents of the files.
std::map<QString, QByteArray> snapshot(const QString &folder)
{
    std::map<QString, QByteArray> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        entries[path] = it.fileInfo().isDir() || !file.open(QIODevice::ReadOnly) ? QByteArray("<folder>") : file.readAll();
    }
    return entries;
}

} // namespace

void tst_Tabulation::savedTableReadsBack_data()
{
    QTest::addColumn<platform::TableFormat>("format");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("lineEnd");
    QTest::newRow("CSV") << platform::TableFormat::Csv << "," << "\r\n";
    QTest::newRow("tab-separated") << platform::TableFormat::Tsv << "\t" << "\n";
}

// A saved table holds the header and every row as the grid shows them, in UTF-8, whatever
// the locale's decimal separator.
void tst_Tabulation::savedTableReadsBack()
{
    QFETCH(platform::TableFormat, format);
    QFETCH(QString, separator);
    QFETCH(QString, lineEnd);
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    tabulateTexts();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("table"));
    const bool saved = grid()->SaveTable(path, format);
    QLocale::setDefault(before);
    QVERIFY(saved);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY(text.contains(QStringLiteral("-0.5000")));
    const std::vector<QStringList> read = parseTable(text, separator[0], lineEnd);
    QCOMPARE(read, gridCells());
    QCOMPARE(read.size(), size_t(6));
    QCOMPARE(read[0][0], QLatin1String(platform::ValuesCaption));
}

// Ctrl+S in the grid asks for the file: the type chosen in the dialog gives the format and
// the suffix of a name typed without one. Enter in the name saves.
void tst_Tabulation::saveTableThroughDialog()
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    tabulateTexts();
    QTemporaryDir dir;
    testing::OnNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(types && name);
        QCOMPARE(types->currentText(), QStringLiteral("CSV (*.csv)"));
        types->setFocus();
        QTest::keyClick(types, Qt::Key_Down);
        QCOMPARE(types->currentText(), QStringLiteral("Tab-separated text (*.tsv)"));
        name->setFocus();
        name->selectAll();
        QTest::keyClicks(name, dir.filePath(QStringLiteral("results")));
        QTest::keyClick(name, Qt::Key_Return);
    });
    grid()->setFocus();
    QTest::keySequence(grid(), QKeySequence::Save);
    QFile file(dir.filePath(QStringLiteral("results.tsv")));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    QCOMPARE(parseTable(QString::fromUtf8(file.readAll()), QLatin1Char('\t'), QStringLiteral("\n")), gridCells());
}

void tst_Tabulation::failedSaveChangesNothing_data()
{
    // How the folder is made unwritable: a read-only folder stops no one running as root (as
    // CI does), so the other rows fail for reasons that hold for root as well.
    QTest::addColumn<QString>("obstacle");
    QTest::newRow("the folder is a file") << "parent is a file";
    QTest::newRow("the name is a folder") << "name is a folder";
    QTest::newRow("read-only folder") << "read-only folder";
    QTest::newRow("the writer fails half-way") << "writer fails";
}

// A save that cannot be made shows a message naming the file and the reason, and leaves the
// folder as it was: no half file, no temporary file, the file that stood there unchanged.
void tst_Tabulation::failedSaveChangesNothing()
{
    QFETCH(QString, obstacle);
    tabulateTexts();
    QTemporaryDir dir;
    const QString kept = dir.filePath(QStringLiteral("kept.csv"));
    {
        QFile file(kept);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("the good table\n");
    }
    QString path = kept;
    if (obstacle == QLatin1String("parent is a file")) {
        path = kept + QStringLiteral("/table.csv");
    } else if (obstacle == QLatin1String("name is a folder")) {
        path = dir.filePath(QStringLiteral("table.csv"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("table.csv")));
    } else if (obstacle == QLatin1String("read-only folder")) {
        if (geteuid() == 0)
            QSKIP("a read-only folder does not stop root");
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    }
    const std::map<QString, QByteArray> before = snapshot(dir.path());

    testing::ShownMessage shown;
    testing::AnswerNextMessage(&shown);
    bool saved = true;
    if (obstacle == QLatin1String("writer fails")) {
        saved = platform::SaveFile(form.get(), path, [](QIODevice &file) {
            file.write("half a ta");
            return false;
        });
    } else {
        saved = grid()->SaveTable(path, platform::TableFormat::Csv);
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!saved);
    QVERIFY(shown.shown);
    QCOMPARE(shown.title, platform::MessageTitle());
    QCOMPARE(shown.icon, int(QMessageBox::Critical));
    const QString prefix = QStringLiteral("The file %1 could not be saved:\n").arg(QDir::toNativeSeparators(path));
    QVERIFY2(shown.text.startsWith(prefix), qPrintable(shown.text));
    QVERIFY2(shown.text.size() > prefix.size() + 3, qPrintable(shown.text));  // and a reason
    QCOMPARE(snapshot(dir.path()), before);
}

// A printed table repeats the header on every page, and every row is on exactly one page:
// all pages but the last are full, and the last is not empty.
void tst_Tabulation::printedTablePages()
{
    setRange("0", "200", "1");
    form->cmdEvaluate_Click();
    QCOMPARE(grid()->TextMatrix(201, 0), QStringLiteral("200.0000"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("table.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        grid()->PrintTable(printer);
    }
    const QStringList pages = testing::PdfPages(path);
    QVERIFY(pages.size() > 1);
    QStringList xs;
    QList<qsizetype> rowsPerPage;
    for (const QString &page : pages) {
        QVERIFY2(page.trimmed().startsWith(QLatin1String(platform::ValuesCaption)), qPrintable(page.left(200)));
        const QStringList words = page.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        const qsizetype before = xs.size();
        for (const QString &word : words)
            if (word.front().isDigit())
                xs << word;
        rowsPerPage << xs.size() - before;
    }
    QCOMPARE(xs, column(0, 201));
    for (qsizetype i = 1; i + 1 < rowsPerPage.size(); ++i)
        QCOMPARE(rowsPerPage[i], rowsPerPage[0]);
    QVERIFY(rowsPerPage.last() > 0 && rowsPerPage.last() <= rowsPerPage[0]);
    QCOMPARE(pages.size(), (201 + rowsPerPage[0] - 1) / rowsPerPage[0]);
}

QTEST_MAIN(tst_Tabulation)
#include "tst_tabulation.moc"
