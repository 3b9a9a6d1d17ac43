#include "input/clsValidator.h"
#include "main/frmMain.h"
#include "platform/TextBox.h"

#include <QtTest>

#include <memory>

class tst_Validator : public QObject
{
    Q_OBJECT

private slots:
    void cleaning_data();
    void cleaning();
    void returnsBoundBox();
    void withoutBox();

    void rangeFields_data();
    void rangeFields();
};

void tst_Validator::cleaning_data()
{
    QTest::addColumn<short>("kind");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");

    QTest::newRow("second point dropped") << short(1) << "12.5.3" << "12.53";
    QTest::newRow("trailing point dropped") << short(1) << ".5." << ".5";
    QTest::newRow("double point") << short(1) << "1..2" << "1.2";
    QTest::newRow("letter in a signed number") << short(1) << "-3a4" << "-34";
    QTest::newRow("inner minus goes in front") << short(1) << "3-4" << "-34";
    QTest::newRow("two minuses give one") << short(1) << "--5" << "-5";
    QTest::newRow("trailing minus") << short(1) << "5-" << "-5";
    QTest::newRow("comma dropped") << short(1) << "2,5.75" << "25.75";
    QTest::newRow("exponent letter dropped") << short(1) << "1e5" << "15";
    QTest::newRow("letters only") << short(1) << "abc" << "";
    QTest::newRow("minus alone") << short(1) << "-" << "-";
    QTest::newRow("minus and point") << short(1) << "-x." << "-.";
    QTest::newRow("blanks around") << short(1) << " 7 " << "7";
    QTest::newRow("empty signed") << short(1) << "" << "";
    QTest::newRow("leading zeros kept") << short(1) << "007.50" << "007.50";
    QTest::newRow("tab and plus dropped") << short(1) << "+\t1" << "1";
    QTest::newRow("non-ASCII digit dropped") << short(1) << QString::fromUtf8("1\xd9\xa3") << "1";
    QTest::newRow("unsigned drops minus") << short(2) << "-2.5" << "2.5";
    QTest::newRow("unsigned inner minus") << short(2) << "3-4" << "34";
    QTest::newRow("unsigned zero") << short(2) << "0" << "0";
    QTest::newRow("empty unsigned") << short(2) << "" << "";
    QTest::newRow("no check: kind 0") << short(0) << "a-1.2.3" << "a-1.2.3";
    QTest::newRow("no check: kind 3") << short(3) << " x " << " x ";
    QTest::newRow("no check: negative kind") << short(-1) << "1e5" << "1e5";
    // The number form the program itself writes stays as it is.
    QTest::newRow("small number form kept") << short(1) << "1E-05" << "1E-05";
    QTest::newRow("large number form kept") << short(1) << "1.23456789012346E+17" << "1.23456789012346E+17";
    QTest::newRow("negative number form kept") << short(1) << "-2.5E+15" << "-2.5E+15";
    QTest::newRow("unsigned keeps a positive number form") << short(2) << "1E+15" << "1E+15";
    QTest::newRow("unsigned filters a negative one") << short(2) << "-1E-05" << "105";
    QTest::newRow("lower-case exponent filtered") << short(1) << "1e-05" << "-105";
    QTest::newRow("two exponent digits only") << short(1) << "1E-5" << "-15";
    QTest::newRow("blank before the form") << short(1) << " 1E+15" << "115";
    QTest::newRow("form beyond the double range") << short(1) << "1E+999" << "1999";
    QTest::newRow("trailing zero filtered as digits") << short(1) << "-3.50" << "-3.50";
    QTest::newRow("other kinds untouched") << short(3) << "a 1E-05" << "a 1E-05";
}

void tst_Validator::cleaning()
{
    QFETCH(short, kind);
    QFETCH(QString, before);
    QFETCH(QString, after);
    platform::TextBox box;
    box.setText(before);
    clsValidator validator;
    validator.SetCheck(&box, kind);
    QCOMPARE(box.text(), before);  // SetCheck alone does not look at the text
    QCOMPARE(validator.GetTxtBox()->text(), after);
    QCOMPARE(box.text(), after);
}

void tst_Validator::returnsBoundBox()
{
    platform::TextBox first, second;
    clsValidator validator;
    validator.SetCheck(&first, 1);
    QCOMPARE(validator.GetTxtBox(), &first);
    validator.SetCheck(&second, 2);
    QCOMPARE(validator.GetTxtBox(), &second);
}

void tst_Validator::withoutBox()
{
    clsValidator validator;
    QCOMPARE(validator.GetTxtBox(), nullptr);
}

// Leaving a range field of the main window cleans it and makes it the keypad's target: a
// digit key then writes into it and gives it the focus back.
void tst_Validator::rangeFields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");

    QTest::newRow("Start: inner minus") << "txtFrom" << "1-0" << "-10";
    QTest::newRow("Start: leading zeros kept") << "txtFrom" << "007.50" << "007.50";
    QTest::newRow("End: comma dropped") << "txtTo" << "2,5" << "25";
    QTest::newRow("End: letters") << "txtTo" << "12abc" << "12";
    QTest::newRow("Inc is unsigned") << "txtInc" << "-0.5" << "0.5";
    QTest::newRow("Inc emptied") << "txtInc" << "abc" << "";
    QTest::newRow("Start: number form kept") << "txtFrom" << "1E-05" << "1E-05";
    QTest::newRow("End: other exponent filtered") << "txtTo" << "1e-5" << "-15";
}

void tst_Validator::rangeFields()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    frmMain form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto *box = form.findChild<platform::TextBox *>(field);
    QVERIFY(box);
    box->setFocus();
    QTest::keyClicks(box, typed);
    QCOMPARE(box->text(), typed);
    form.txtFunc1->setFocus();  // leaving the field
    QCOMPARE(box->text(), after);
    form.cmdNumbers_Click(7);
    QCOMPARE(box->text(), after + QLatin1Char('7'));
    QCOMPARE(QApplication::focusWidget(), box);
}

QTEST_MAIN(tst_Validator)
#include "tst_validator.moc"
