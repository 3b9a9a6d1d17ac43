#include "helpers/MainWindowTest.h"
#include "helpers/ModalDriver.h"
#include "main/frmMain.h"
#include "platform/TextBox.h"

#include <QPushButton>
#include <QtTest>

#include <memory>

// The keypad driven as a user drives it: real clicks on a real main window, each click
// first taking the focus from the field being edited.
class tst_Keypad : public testing::MainWindowTest
{
    Q_OBJECT

private slots:
    void singleClick_data();
    void singleClick();
    void buildSinX();
    void digitIntoIncRightAfterLeavingIt();
    void selectionSurvivesFocusLoss();
    void noCurrentEntryBox();
    void lengthLimit();

private:
    QPushButton *button(const QString &name) { return form->findChild<QPushButton *>(name); }
    platform::TextBox *box(const QString &name) { return form->findChild<platform::TextBox *>(name); }
};

void tst_Keypad::singleClick_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("focus");  // empty: the field itself

    QTest::newRow("digit 7") << "txtFunc1" << "" << 0 << 0 << "cmdNumbers(7)" << "7" << 1 << "";
    QTest::newRow("middle row left inserts 6") << "txtFunc1" << "" << 0 << 0 << "cmdNumbers(6)" << "6" << 1 << "";
    QTest::newRow("middle row right inserts 4") << "txtFunc1" << "" << 0 << 0 << "cmdNumbers(4)" << "4" << 1 << "";
    QTest::newRow("point at caret") << "txtFunc2" << "12" << 1 << 0 << "cmdPeriod" << "1.2" << 2 << "";
    QTest::newRow("percent inserts Mod with blanks") << "txtFunc1" << "X" << 1 << 0 << "cmdOperators(6)" << "X Mod " << 6 << "";
    QTest::newRow("Neg inserts minus") << "txtFunc1" << "X" << 0 << 0 << "cmdOperators(9)" << "-X" << 1 << "";
    QTest::newRow("minus") << "txtFunc1" << "X" << 1 << 0 << "cmdOperators(4)" << "X-" << 2 << "";
    QTest::newRow("backslash") << "txtFunc3" << "7" << 1 << 0 << "cmdOperators(5)" << "7\\" << 2 << "";
    QTest::newRow("power") << "txtFunc1" << "X" << 1 << 0 << "cmdOperators(0)" << "X^" << 2 << "";
    QTest::newRow("selection replaced") << "txtFunc1" << "ABCDE" << 1 << 2 << "cmdNumbers(5)" << "A5DE" << 2 << "";
    QTest::newRow("selection replaced by X") << "txtFunc2" << "1+2" << 2 << 1 << "cmdArgument" << "1+X" << 3 << "";
    QTest::newRow("function inserts name and paren, keeps focus") << "txtFunc1" << "2*" << 2 << 0 << "cmdIntrinsic(10)" << "2*Sqr(" << 6 << "cmdIntrinsic(10)";
    QTest::newRow("X refused by Start") << "txtFrom" << "1" << 1 << 0 << "cmdArgument" << "1" << 1 << "";
    QTest::newRow("X refused by End") << "txtTo" << "5" << 1 << 0 << "cmdArgument" << "5" << 1 << "";
    QTest::newRow("function refused by End") << "txtTo" << "5" << 1 << 0 << "cmdIntrinsic(0)" << "5" << 1 << "";
    QTest::newRow("function refused by Inc") << "txtInc" << "1" << 1 << 0 << "cmdIntrinsic(9)" << "1" << 1 << "";
    QTest::newRow("digit into End") << "txtTo" << "5" << 1 << 0 << "cmdNumbers(0)" << "50" << 2 << "";
    QTest::newRow("operator into End") << "txtTo" << "5" << 0 << 0 << "cmdOperators(4)" << "-5" << 1 << "";
    QTest::newRow("CLR") << "txtFunc1" << "Sin(X)" << 2 << 0 << "cmdClear" << "" << 0 << "";
    QTest::newRow("CLR on empty field") << "txtFunc1" << "" << 0 << 0 << "cmdClear" << "" << 0 << "";
    QTest::newRow("BS between C and D") << "txtFunc1" << "ABCDE" << 3 << 0 << "cmdBS" << "ABDE" << 2 << "";
    QTest::newRow("DEL between C and D") << "txtFunc1" << "ABCDE" << 3 << 0 << "cmdDelete" << "ABCE" << 3 << "";
    QTest::newRow("BS at start") << "txtFunc1" << "ABC" << 0 << 0 << "cmdBS" << "ABC" << 0 << "";
    QTest::newRow("DEL at end") << "txtFunc1" << "ABC" << 3 << 0 << "cmdDelete" << "ABC" << 3 << "";
    QTest::newRow("BS deletes selection") << "txtFunc1" << "ABCDE" << 1 << 3 << "cmdBS" << "AE" << 1 << "";
    QTest::newRow("DEL deletes selection") << "txtFunc1" << "ABCDE" << 0 << 2 << "cmdDelete" << "CDE" << 0 << "";
    QTest::newRow("BS on empty field stays on button") << "txtFunc2" << "" << 0 << 0 << "cmdBS" << "" << 0 << "cmdBS";
    QTest::newRow("DEL on empty field stays on button") << "txtFunc2" << "" << 0 << 0 << "cmdDelete" << "" << 0 << "cmdDelete";
    QTest::newRow("BS in Start") << "txtFrom" << "12" << 2 << 0 << "cmdBS" << "1" << 1 << "";
    QTest::newRow("selection in End replaced") << "txtTo" << "51" << 0 << 2 << "cmdNumbers(9)" << "9" << 1 << "";
    QTest::newRow("selection in Start replaced") << "txtFrom" << "-2.5" << 1 << 1 << "cmdNumbers(7)" << "-7.5" << 2 << "";
    QTest::newRow("selection in Inc deleted") << "txtInc" << "0.25" << 2 << 2 << "cmdBS" << "0." << 2 << "";
    QTest::newRow("cleaned End loses its selection") << "txtTo" << "5a1" << 0 << 3 << "cmdNumbers(9)" << "951" << 1 << "";
}

void tst_Keypad::singleClick()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QFETCH(int, caret);
    QFETCH(QString, focus);

    platform::TextBox *target = box(field);
    QVERIFY(target && button(key));
    target->setText(text);
    target->SetFocus();
    if (selLength > 0)
        target->setSelection(selStart, selLength);
    else
        target->setCursorPosition(selStart);

    testing::Click(button(key));

    QCOMPARE(target->text(), expected);
    QCOMPARE(int(target->SelStart()), caret);
    QCOMPARE(int(target->SelLength()), 0);
    QCOMPARE(testing::FocusName(), focus.isEmpty() ? field : focus);
}

// Function, X, closing parenthesis: the focus sits on the function button after the
// first click and is back in the field after the other two.
void tst_Keypad::buildSinX()
{
    form->txtFunc1->SetFocus();
    testing::Click(button("cmdIntrinsic(9)"));
    QCOMPARE(form->txtFunc1->text(), QStringLiteral("Sin("));
    QCOMPARE(testing::FocusName(), QStringLiteral("cmdIntrinsic(9)"));
    testing::Click(button("cmdArgument"));
    QCOMPARE(testing::FocusName(), QStringLiteral("txtFunc1"));
    testing::Click(button("cmdOperators(8)"));
    QCOMPARE(form->txtFunc1->text(), QStringLiteral("Sin(X)"));
    QCOMPARE(testing::FocusName(), QStringLiteral("txtFunc1"));
}

void tst_Keypad::digitIntoIncRightAfterLeavingIt()
{
    form->txtInc->SetFocus();
    QTest::keyClicks(form->txtInc, "-0.5");
    testing::Click(button("cmdNumbers(2)"));
    QCOMPARE(form->txtInc->text(), QStringLiteral("0.52"));
    QCOMPARE(testing::FocusName(), QStringLiteral("txtInc"));
}

void tst_Keypad::selectionSurvivesFocusLoss()
{
    form->txtFunc3->SetFocus();
    QTest::keyClicks(form->txtFunc3, "X+1");
    form->txtFunc3->setSelection(0, 1);
    form->cmdEvaluate->setFocus();
    QCOMPARE(form->txtFunc3->selectedText(), QStringLiteral("X"));
    QCOMPARE(int(form->txtFunc3->SelStart()), 0);
    QCOMPARE(int(form->txtFunc3->SelLength()), 1);
}

void tst_Keypad::noCurrentEntryBox()
{
    form->cmdNumbers_Click(3);
    form->cmdOperators_Click(6);
    form->cmdIntrinsic_Click(0);
    form->cmdArgument_Click();
    form->cmdPeriod_Click();
    form->cmdClear_Click();
    form->cmdBS_Click();
    form->cmdDelete_Click();
    for (platform::TextBox *b : form->findChildren<platform::TextBox *>())
        QVERIFY(b->text().isEmpty());
}

// A field never grows past its limit, however often a key is pressed.
void tst_Keypad::lengthLimit()
{
    form->txtFunc1->setText(QString(32766, QLatin1Char('1')));
    form->txtFunc1->SetFocus();
    form->txtFunc1->setCursorPosition(32766);
    testing::Click(button("cmdNumbers(1)"));
    QCOMPARE(form->txtFunc1->text().size(), 32767);
    testing::Click(button("cmdOperators(6)"));
    QCOMPARE(form->txtFunc1->text().size(), 32767);
    testing::Click(button("cmdBS"));
    QCOMPARE(form->txtFunc1->text().size(), 32766);
}

QTEST_MAIN(tst_Keypad)
#include "tst_keypad.moc"
