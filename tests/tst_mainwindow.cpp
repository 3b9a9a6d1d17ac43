#include "main/frmMain.h"

#include "calc/modGrid.h"
#include "helpers/MainWindowTest.h"
#include "helpers/ModalDriver.h"
#include "info/diaTech.h"
#include "platform/Colours.h"
#include "platform/Equations.h"
#include "platform/FlexGrid.h"
#include "platform/Program.h"
#include "platform/TextBox.h"
#include "platform/Twips.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolTip>
#include <QtTest>

#include <memory>

using platform::TwipsRect;

class tst_MainWindow : public testing::MainWindowTest
{
    Q_OBJECT

private slots:
    void window();
    void controls_data();
    void controls();
    void fonts_data();
    void fonts();
    void keypad_data();
    void keypad();
    void menus();
    void tabOrder();
    void keyboardInTheGrid_data();
    void keyboardInTheGrid();
    void opening();
    void activationRestoresLayout_data();
    void activationRestoresLayout();

    void gridAtStart();
    void gridRows_data();
    void gridRows();
    void gridKeepsTextsWhenResized();
    void gridActionOther();
    void gridIgnoresWritesOutside();
    void copyFromGrid_data();
    void copyFromGrid();
    void gridContextMenu();
    void cutCellTextInATooltip_data();
    void cutCellTextInATooltip();
    void screenReaderNames_data();
    void screenReaderNames();

    void endingByExit_data();
    void endingByExit();

private:};

void tst_MainWindow::window()
{
    QCOMPARE(form->windowTitle(), QStringLiteral("Tarnwick"));
    QCOMPARE(form->centralWidget()->palette().color(QPalette::Window), platform::ButtonFace);
    const Qt::WindowFlags flags = form->windowFlags();
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!form->windowIcon().isNull());
}

void tst_MainWindow::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");

    QTest::newRow("fraValues") << "fraValues" << platform::ValuesCaption;
    QTest::newRow("lblFrom_1") << "lblFrom_1" << "Start:";
    QTest::newRow("lblInc") << "lblInc" << "Inc:";
    QTest::newRow("txtTo") << "txtTo" << "";
    QTest::newRow("fraFunctions") << "fraFunctions" << platform::FunctionsCaption;
    QTest::newRow("lblEqua_3") << "lblEqua_3" << platform::EquationCaption(2);
    QTest::newRow("txtFunc2") << "txtFunc2" << "";
    QTest::newRow("lblInst") << "lblInst" << platform::InstructionText;
    QTest::newRow("fraIntrinsics leading blank") << "fraIntrinsics" << " Functions";
    QTest::newRow("fraOperators") << "fraOperators" << "Operators";
    QTest::newRow("fraNumerics") << "fraNumerics" << "Numbers";
    QTest::newRow("fraEdit no caption") << "fraEdit" << "";
    QTest::newRow("fraEvals") << "fraEvals" << "Evaluations";
    QTest::newRow("msGrid") << "msGrid" << "";
    QTest::newRow("cmdEvaluate") << "cmdEvaluate" << "E&valuate";
    QTest::newRow("cmdGraph") << "cmdGraph" << "&Graph";
    QTest::newRow("cmdVisit") << "cmdVisit" << "Click on me to visit our store!";
    QTest::newRow("cmdExit") << "cmdExit" << "E&xit";
    QTest::newRow("cmdClear") << "cmdClear" << "CLR";
    QTest::newRow("cmdDelete") << "cmdDelete" << "DEL";
    QTest::newRow("cmdBS") << "cmdBS" << "BS";
}

void tst_MainWindow::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QWidget *w = form->findChild<QWidget *>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(testing::Caption(w), caption);
}

void tst_MainWindow::fonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");

    QTest::newRow("frame caption") << "fraValues" << "Liberation Sans" << 13 << true << false;
    QTest::newRow("label") << "lblEqua_1" << "Liberation Sans" << 13 << false << false;
    QTest::newRow("text box") << "txtFunc1" << "Liberation Sans" << 11 << false << false;
    QTest::newRow("evaluate") << "cmdEvaluate" << "Liberation Sans" << 16 << true << false;
    QTest::newRow("visit") << "cmdVisit" << "Liberation Sans" << 13 << true << true;
    QTest::newRow("exit") << "cmdExit" << "Liberation Sans" << 11 << false << false;
    QTest::newRow("function key") << "cmdIntrinsic(9)" << "Liberation Sans" << 13 << true << false;
    QTest::newRow("operator key") << "cmdOperators(0)" << "DejaVu Sans" << 16 << true << false;
    QTest::newRow("X key") << "cmdArgument" << "Liberation Serif" << 13 << true << false;
    QTest::newRow("period key") << "cmdPeriod" << "DejaVu Sans" << 13 << true << false;
    QTest::newRow("digit key") << "cmdNumbers(5)" << "Liberation Sans" << 13 << true << false;
    QTest::newRow("edit key") << "cmdBS" << "Liberation Sans" << 11 << true << false;
    QTest::newRow("grid") << "msGrid" << "Liberation Sans" << 11 << false << false;
}

void tst_MainWindow::fonts()
{
    QFETCH(QString, name);
    QFETCH(QString, family);
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QWidget *w = form->findChild<QWidget *>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(w->font().family(), family);
    QCOMPARE(w->font().pixelSize(), pixelSize);
    QCOMPARE(w->font().bold(), bold);
    QCOMPARE(w->font().italic(), italic);
}

void tst_MainWindow::keypad_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("Abs") << "cmdIntrinsic(0)" << "fraIntrinsics" << "Abs" << TwipsRect(120, 360, 615, 495);
    QTest::newRow("Atn") << "cmdIntrinsic(1)" << "fraIntrinsics" << "Atn" << TwipsRect(960, 360, 615, 495);
    QTest::newRow("Rnd") << "cmdIntrinsic(7)" << "fraIntrinsics" << "Rnd" << TwipsRect(960, 2592, 615, 495);
    QTest::newRow("Tan") << "cmdIntrinsic(11)" << "fraIntrinsics" << "Tan" << TwipsRect(960, 4080, 615, 495);
    QTest::newRow("backslash") << "cmdOperators(5)" << "fraOperators" << "\\" << TwipsRect(840, 1320, 495, 375);
    QTest::newRow("percent") << "cmdOperators(6)" << "fraOperators" << "%" << TwipsRect(1440, 360, 495, 375);
    QTest::newRow("Neg") << "cmdOperators(9)" << "fraOperators" << "Neg" << TwipsRect(240, 1800, 1095, 375);
    QTest::newRow("X") << "cmdArgument" << "fraOperators" << "X" << TwipsRect(1440, 1800, 495, 375);
    QTest::newRow("middle row left is 6") << "cmdNumbers(6)" << "fraNumerics" << "6" << TwipsRect(240, 840, 495, 375);
    QTest::newRow("middle row centre is 5") << "cmdNumbers(5)" << "fraNumerics" << "5" << TwipsRect(840, 840, 495, 375);
    QTest::newRow("middle row right is 4") << "cmdNumbers(4)" << "fraNumerics" << "4" << TwipsRect(1440, 840, 495, 375);
    QTest::newRow("7") << "cmdNumbers(7)" << "fraNumerics" << "7" << TwipsRect(240, 360, 495, 375);
    QTest::newRow("0") << "cmdNumbers(0)" << "fraNumerics" << "0" << TwipsRect(1440, 1800, 495, 375);
    QTest::newRow("period") << "cmdPeriod" << "fraNumerics" << "." << TwipsRect(240, 1800, 1095, 375);
    QTest::newRow("CLR") << "cmdClear" << "fraEdit" << "CLR" << TwipsRect(240, 240, 615, 375);
}

void tst_MainWindow::keypad()
{
    QFETCH(QString, name);
    QFETCH(QString, frame);
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);
    auto *button = form->findChild<QPushButton *>(name);
    QVERIFY2(button, qPrintable(name));
    QCOMPARE(button->parentWidget()->objectName(), frame);
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->geometry(), geometry);
}

void tst_MainWindow::menus()
{
    auto describe = [](QMenu *menu) {
        QStringList items;
        for (QAction *a : menu->actions())
            items << a->objectName() + QLatin1Char('=') + (a->isSeparator() ? QStringLiteral("-") : a->text());
        return items;
    };
    const QList<QAction *> top = form->menuBar()->actions();
    QCOMPARE(top.size(), 3);
    QCOMPARE(top[0]->text(), QStringLiteral("&File"));
    QCOMPARE(top[1]->text(), QStringLiteral("&Options"));
    QCOMPARE(top[2]->text(), QStringLiteral("&Help"));
    QCOMPARE(describe(form->mnuFile), QStringList{"mnuExit=E&xit"});
    QCOMPARE(describe(form->mnuOptions), QStringList{"mnuPlaces=&Decimal Places"});
    const QStringList help = {"mnuHelpTopics=&Help Topics", "mnuHelpSep1=-", "mnuTechSupport=&Tech Support",
                              "mnuHelpSep2=-", "mnuStore=&Visit Our Store", "mnuSep3=-",
                              "mnuAbout=&ABout Tarnwick"};
    QCOMPARE(describe(form->mnuHelp), help);
    for (QAction *a : form->mnuHelp->actions())
        QVERIFY(a->shortcut().isEmpty());
}

void tst_MainWindow::tabOrder()
{
    QStringList expected = {"txtFrom", "txtTo", "txtInc"};
    for (int i = 1; i <= platform::EquationCount; ++i)
        expected << QStringLiteral("txtFunc%1").arg(i);
    for (int i = 0; i < 12; ++i)
        expected << QStringLiteral("cmdIntrinsic(%1)").arg(i);
    for (int i = 0; i < 10; ++i)
        expected << QStringLiteral("cmdOperators(%1)").arg(i);
    expected << "cmdArgument";
    for (int i = 0; i < 10; ++i)
        expected << QStringLiteral("cmdNumbers(%1)").arg(i);
    expected << "cmdPeriod" << "cmdEvaluate" << "cmdExit" << "cmdClear" << "cmdDelete" << "cmdBS"
             << "cmdGraph" << "msGrid" << "cmdVisit";

    QCOMPARE(testing::TabOrder(form->txtFrom), expected);
}

void tst_MainWindow::keyboardInTheGrid_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("row");

    QTest::newRow("Tab leaves forward") << int(Qt::Key_Tab) << int(Qt::NoModifier) << "cmdVisit" << 2;
    QTest::newRow("Shift+Tab leaves back") << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << "cmdGraph" << 2;
    QTest::newRow("Down moves a row") << int(Qt::Key_Down) << int(Qt::NoModifier) << "msGrid" << 3;
    QTest::newRow("Up moves a row") << int(Qt::Key_Up) << int(Qt::NoModifier) << "msGrid" << 1;
}

// Tab and Shift+Tab take the focus out of the grid in the window's tab order; the arrow
// keys move between cells.
void tst_MainWindow::keyboardInTheGrid()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, focus);
    QFETCH(int, row);
    platform::FlexGrid *grid = form->msGrid;
    grid->setFocus();
    QTRY_VERIFY(grid->hasFocus());
    grid->setCurrentIndex(grid->model()->index(2, 1));
    QTest::keyClick(grid, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QCOMPARE(grid->currentIndex().row(), row);
}

void tst_MainWindow::opening()
{
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(form->txtFrom));
    for (platform::TextBox *box : form->findChildren<platform::TextBox *>())
        QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
    QCOMPARE(form->DecimalPlaces(), short(4));
    QVERIFY(form->cmdVisit->isVisible());
    QVERIFY(form->cmdVisit->isEnabled());
}

// Closing a window shown from the main window makes it active again: back to the top-left
// corner, column widths and headers restored, result rows kept. A message box closing is
// no such activation: the window stays where the user put it.
void tst_MainWindow::activationRestoresLayout_data()
{
    QTest::addColumn<bool>("ownWindow");
    QTest::newRow("a window of ours closes") << true;
    QTest::newRow("a message box closes") << false;
}

void tst_MainWindow::activationRestoresLayout()
{
    QFETCH(bool, ownWindow);
    form->move(120, 80);
    form->msGrid->setColumnWidth(1, 40);
    form->msGrid->setTextMatrix(0, 2, QStringLiteral("changed"));
    form->msGrid->setTextMatrix(3, 1, QStringLiteral("kept"));

    testing::OnNextModal([](QWidget *w) { w->close(); });
    if (ownWindow)
        platform::ShowModal(new diaTech, form.get());
    else
        platform::MsgBoxCritical(form.get(), QStringLiteral("text"), QStringLiteral("title"));

    if (!ownWindow) {
        // The desktop hands the activation back to the main window.
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QCOMPARE(form->pos(), QPoint(120, 80));
        QCOMPARE(form->msGrid->columnWidth(1), 40);
        return;
    }
    QTRY_COMPARE(form->pos(), QPoint(0, 0));
    QCOMPARE(form->msGrid->columnWidth(1), platform::TwipsToPixels(1600));
    QCOMPARE(form->msGrid->TextMatrix(0, 2), platform::ResultCaption(1));
    QCOMPARE(form->msGrid->TextMatrix(3, 1), QStringLiteral("kept"));
}

void tst_MainWindow::gridAtStart()
{
    platform::FlexGrid *grid = form->msGrid;
    QCOMPARE(grid->Rows(), 100);
    const QStringList headers = testing::GridHeaders();
    QCOMPARE(grid->Cols(), headers.size());
    QCOMPARE(grid->model()->rowCount(), 99);
    for (int c = 0; c < grid->Cols(); ++c) {
        QCOMPARE(grid->model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
        QCOMPARE(grid->columnWidth(c), platform::TwipsToPixels(1600));
    }
    QVERIFY(grid->verticalHeader()->isHidden());
}

void tst_MainWindow::gridRows_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("rows");
    QTest::newRow("none: header and one reading row") << 0 << 2;
    QTest::newRow("ten") << 10 << 12;
    QTest::newRow("limit") << 10000 << 10002;
}

void tst_MainWindow::gridRows()
{
    QFETCH(int, count);
    QFETCH(int, rows);
    modGrid::SetGridRows(count);
    QCOMPARE(form->msGrid->Rows(), rows);
    QCOMPARE(form->msGrid->model()->rowCount(), rows - 1);
}

void tst_MainWindow::gridKeepsTextsWhenResized()
{
    modGrid::SetGridRows(10);  // 12 rows
    for (int r = 1; r < 12; ++r) {
        modGrid::SetCell(r, 1, QString::number(r));
        modGrid::GridAction(2);
    }
    QCOMPARE(form->msGrid->model()->index(0, 1).data().toString(), QStringLiteral("1"));
    form->msGrid->setRows(5);
    form->msGrid->setRows(12);
    for (int r = 1; r < 5; ++r)
        QCOMPARE(form->msGrid->TextMatrix(r, 1), QString::number(r));
    for (int r = 5; r < 12; ++r)
        QVERIFY(form->msGrid->TextMatrix(r, 1).isEmpty());

    // Writing the pending cell again writes the same text again.
    modGrid::SetCell(2, 3, QStringLiteral("again"));
    modGrid::GridAction(2);
    form->msGrid->setTextMatrix(2, 3, QString());
    modGrid::GridAction(2);
    QCOMPARE(form->msGrid->TextMatrix(2, 3), QStringLiteral("again"));
}

void tst_MainWindow::gridActionOther()
{
    form->msGrid->setColumnWidth(0, 30);
    modGrid::SetCell(1, 0, QStringLiteral("pending"));
    QCOMPARE(modGrid::GridAction(3), short(0));
    QCOMPARE(modGrid::GridAction(0), short(0));
    QVERIFY(form->msGrid->TextMatrix(1, 0).isEmpty());
    QCOMPARE(form->msGrid->columnWidth(0), 30);
    QCOMPARE(modGrid::GridAction(1), short(0));
    QCOMPARE(form->msGrid->columnWidth(0), platform::TwipsToPixels(1600));
}

void tst_MainWindow::gridIgnoresWritesOutside()
{
    modGrid::SetGridRows(0);
    modGrid::SetCell(5, 0, QStringLiteral("outside"));
    modGrid::GridAction(2);
    modGrid::SetCell(1, 9, QStringLiteral("outside"));
    modGrid::GridAction(2);
    modGrid::SetCell(-1, 0, QStringLiteral("outside"));
    modGrid::GridAction(2);
    QCOMPARE(form->msGrid->Rows(), 2);
    QCOMPARE(form->msGrid->Cols(), testing::GridHeaders().size());
    QVERIFY(form->msGrid->TextMatrix(1, 0).isEmpty());
}

void tst_MainWindow::copyFromGrid_data()
{
    QTest::addColumn<QString>("selection");
    QTest::addColumn<QString>("copied");
    QTest::newRow("block of cells") << "cells" << "1.0\tA\n2.0\tB\n";
    QTest::newRow("whole columns with their header") << "columns" << "X Values\tY1 Values\n1.0\tA\n2.0\tB\n\t\n";
}

// The copy shortcut puts the selected cells on the clipboard as tab-separated lines.
void tst_MainWindow::copyFromGrid()
{
    QFETCH(QString, selection);
    QFETCH(QString, copied);
    modGrid::SetGridRows(2);  // header and three reading rows
    const QStringList cells = {"1.0", "A", "2.0", "B"};
    for (int i = 0; i < cells.size(); ++i)
        form->msGrid->setTextMatrix(1 + i / 2, i % 2, cells[i]);
    QItemSelectionModel *model = form->msGrid->selectionModel();
    QAbstractItemModel *table = form->msGrid->model();
    if (selection == QLatin1String("cells")) {
        model->select(QItemSelection(table->index(0, 0), table->index(1, 1)), QItemSelectionModel::Select);
    } else {
        model->select(QItemSelection(table->index(0, 0), table->index(1, 1)),
                      QItemSelectionModel::Select | QItemSelectionModel::Columns);
    }
    QApplication::clipboard()->clear();
    form->msGrid->setFocus();
    QTest::keySequence(form->msGrid, QKeySequence::Copy);
    QCOMPARE(QApplication::clipboard()->text(), copied);
}

// The grid's context menu copies and selects as the keys do.
void tst_MainWindow::gridContextMenu()
{
    modGrid::SetGridRows(0);  // the header and one reading row
    form->msGrid->setTextMatrix(1, 0, QStringLiteral("1.0"));
    form->msGrid->setTextMatrix(1, 1, QStringLiteral("2.0"));
    const QList<QAction *> actions = form->msGrid->actions();
    QCOMPARE(form->msGrid->contextMenuPolicy(), Qt::ActionsContextMenu);
    QStringList captions;
    for (const QAction *action : actions)
        captions << action->text();
    QCOMPARE(captions, QStringList({"Copy", "Select All", "Save As\u2026", "Print Preview\u2026", "Print\u2026"}));
    actions[1]->trigger();
    const QStringList headers = testing::GridHeaders();
    QCOMPARE(form->msGrid->selectionModel()->selectedIndexes().size(), headers.size());
    QApplication::clipboard()->clear();
    actions[0]->trigger();
    // Every column is whole, so the header row comes first; the other equations are empty.
    QCOMPARE(QApplication::clipboard()->text(),
             headers.join('\t') + "\n1.0\t2.0" + QString(headers.size() - 2, '\t') + "\n");
}

void tst_MainWindow::cutCellTextInATooltip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("tooltip");
    QTest::newRow("fits its column") << "1.0000" << false;
    QTest::newRow("1E+20 written out") << "100000000000000000000.0000" << true;
}

// A cell whose text does not fit its column shows the whole text when the pointer rests on it.
void tst_MainWindow::cutCellTextInATooltip()
{
    QFETCH(QString, text);
    QFETCH(bool, tooltip);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    modGrid::SetGridRows(0);
    form->msGrid->setTextMatrix(1, 1, text);
    QWidget *viewport = form->msGrid->viewport();
    const QPoint at = form->msGrid->visualRect(form->msGrid->model()->index(0, 1)).center();
    QHelpEvent help(QEvent::ToolTip, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &help);
    if (tooltip)
        QTRY_COMPARE(QToolTip::text(), text);
    else
        QTRY_VERIFY(!QToolTip::isVisible());
}

void tst_MainWindow::screenReaderNames_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::newRow("range field: its label") << "txtFrom" << "Start";
    QTest::newRow("increment field") << "txtInc" << "Inc";
    QTest::newRow("equation field") << "txtFunc2" << platform::EquationCaption(1);
    QTest::newRow("grid: its frame") << "msGrid" << "Evaluations";
    QTest::newRow("button: its caption") << "cmdEvaluate" << "Evaluate";
    QTest::newRow("keypad key: its caption") << "cmdIntrinsic(9)" << "Sin";
    QTest::newRow("keypad key: what it does") << "cmdOperators(6)" << "Mod";
}

// Every control gives a screen reader a name: the caption, or for a field the label beside it,
// or for a key whose caption does not say it, what the key does.
void tst_MainWindow::screenReaderNames()
{
    QFETCH(QString, control);
    QFETCH(QString, name);
    auto *widget = form->findChild<QWidget *>(control);
    QVERIFY(widget);
    QCOMPARE(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name), name);
    QCOMPARE(testing::UnnamedControls(form.get()), QStringList());
}

void tst_MainWindow::endingByExit_data()
{
    testing::AddClosingRows();
}

void tst_MainWindow::endingByExit()
{
    QFETCH(QString, how);
    QVERIFY(!platform::ProgramEnding());
    testing::CloseBy(how, form.get());
    // No confirmation: the program ends at once.
    QVERIFY(platform::ProgramEnding());
    QVERIFY(!form->isVisible());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
