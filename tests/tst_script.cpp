#include "platform/ScriptControl.h"
#include "script/Compiler.h"
#include "script/Engine.h"
#include "script/NumberText.h"

#include <QTest>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <functional>
#include <map>
#include <vector>

using script::Engine;
using script::ScriptError;
using script::Value;
using script::VarType;

Q_DECLARE_METATYPE(script::VarType)

namespace {

std::string_view bytes(const QByteArray &a)
{
    return std::string_view(a.constData(), static_cast<std::size_t>(a.size()));
}

// The error number a call raises, or 0 when it succeeds.
int errorOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const ScriptError &e) {
        return e.number();
    }
    return 0;
}

// Null has no text; show it as a word so tables can name it.
QString shown(const Value &v)
{
    return v.isNull() ? QStringLiteral("<Null>") : QString::fromStdString(v.toText());
}

// Runs statements separated by '|' (each one ExecuteStatement call).
void runAll(Engine &engine, const QByteArray &statements)
{
    if (statements.isEmpty())
        return;
    for (const QByteArray &s : statements.split('|'))
        engine.ExecuteStatement(bytes(s));
}

} // namespace

class tst_Script : public QObject
{
    Q_OBJECT

private slots:
    void assignNumberReadsAsItsText();
    void evaluates_data();
    void evaluates();
    void raisesErrors_data();
    void raisesErrors();
    void convertsValues_data();
    void convertsValues();
    void builtinsMatchTheMathLibrary_data();
    void builtinsMatchTheMathLibrary();
    void statements_data();
    void statements();
    void statementErrors_data();
    void statementErrors();
    void limitsEndInAnError_data();
    void limitsEndInAnError();
    void emptyTextIsEmpty();
    void failureLeavesEngineUsable();
    void cacheNeverHidesChanges();
    void resetForgetsEverything();
    void variableCountIsBounded();
    void stringLengthIsBounded();
    void rndIsDeterministicPerEngine();
    void timeoutStopsLongCalls();
    void scriptControlWrapsEngine();

    // The language's rules, one table each: statements run first ('|' separates calls),
    // then the expression gives a text and type, or an error number.
    void operatorSpellings_data();
    void operatorSpellings() { checkRuleRow(); }
    void radixLiteralSuffix_data();
    void radixLiteralSuffix() { checkRuleRow(); }
    void notRightOfComparison_data();
    void notRightOfComparison() { checkRuleRow(); }
    void textAgainstNumbers_data();
    void textAgainstNumbers() { checkRuleRow(); }
    void logicalOperatorsWithEmptyAndNull_data();
    void logicalOperatorsWithEmptyAndNull() { checkRuleRow(); }
    void singleValues_data();
    void singleValues() { checkRuleRow(); }
    void conversionsKeepTheirType_data();
    void conversionsKeepTheirType() { checkRuleRow(); }
    void callsNeedParentheses_data();
    void callsNeedParentheses() { checkRuleRow(); }
    void compiledFormFollowsTheTable_data();
    void compiledFormFollowsTheTable();
    void rndShowsSevenDigits();
    void timeLimitCoversReading();
    void textsAtTheLengthLimit_data();
    void textsAtTheLengthLimit();

private:
    static void ruleColumns();
    static void checkRuleRow();
};

// Expression -> text of the value and its type, grouped by rule.
void tst_Script::evaluates_data()
{
    QTest::addColumn<QByteArray>("expression");
    QTest::addColumn<QString>("text");
    QTest::addColumn<VarType>("type");
    using T = VarType;

    // Precedence and associativity
    QTest::newRow("sign binds tighter than ^") << QByteArray("-3^2") << "9" << T::Double;
    QTest::newRow("subtraction is below ^") << QByteArray("0-3^2") << "-9" << T::Double;
    QTest::newRow("exponent may carry a sign") << QByteArray("2^-2") << "0.25" << T::Double;
    QTest::newRow("^ is left-associative") << QByteArray("2^3^2") << "64" << T::Double;
    QTest::newRow("* before +") << QByteArray("2+3*4") << "14" << T::Integer;
    QTest::newRow("* before \\") << QByteArray("9\\2*2") << "2" << T::Integer;
    QTest::newRow("\\ before Mod") << QByteArray("7 Mod 5\\2") << "1" << T::Integer;
    QTest::newRow("Mod before +") << QByteArray("1+7 Mod 4") << "4" << T::Integer;
    QTest::newRow("+ before &") << QByteArray("1+2 & 3") << "33" << T::String;
    QTest::newRow("& before =") << QByteArray("\"a\" & \"b\" = \"ab\"") << "True" << T::Boolean;
    QTest::newRow("= before Not") << QByteArray("Not 1 = 2") << "True" << T::Boolean;
    QTest::newRow("Not before And") << QByteArray("Not False And False") << "False" << T::Boolean;
    QTest::newRow("And before Or") << QByteArray("True Or True And False") << "True" << T::Boolean;
    QTest::newRow("Or before Xor") << QByteArray("True Xor True Or False") << "False" << T::Boolean;
    QTest::newRow("Xor before Eqv") << QByteArray("False Eqv True Xor True") << "True" << T::Boolean;
    QTest::newRow("Eqv before Imp") << QByteArray("False Imp True Eqv False") << "True" << T::Boolean;
    QTest::newRow("parentheses first") << QByteArray("(2+3)*4") << "20" << T::Integer;
    QTest::newRow("- is left-associative") << QByteArray("10-4-3") << "3" << T::Integer;
    QTest::newRow("/ is left-associative") << QByteArray("64/4/2") << "8" << T::Double;
    QTest::newRow("double negation") << QByteArray("--2") << "2" << T::Integer;
    QTest::newRow("unary plus") << QByteArray("+2") << "2" << T::Integer;
    QTest::newRow("sign of a parenthesised power") << QByteArray("-(3^2)") << "-9" << T::Double;

    // Types and widening
    QTest::newRow("Integer + Integer") << QByteArray("1+2") << "3" << T::Integer;
    QTest::newRow("Integer sum widens to Long") << QByteArray("32767+1") << "32768" << T::Long;
    QTest::newRow("Long sum widens to Double") << QByteArray("2147483647+1") << "2147483648" << T::Double;
    QTest::newRow("Integer product widens") << QByteArray("200*200") << "40000" << T::Long;
    QTest::newRow("Long product widens") << QByteArray("65536*65536") << "4294967296" << T::Double;
    QTest::newRow("Integer difference widens") << QByteArray("&H8000-1") << "-32769" << T::Long;
    QTest::newRow("negating the smallest Integer") << QByteArray("-&H8000") << "32768" << T::Long;
    QTest::newRow("negating the smallest Long") << QByteArray("-&H80000000") << "2147483648" << T::Double;
    QTest::newRow("Double wins") << QByteArray("1.5+1") << "2.5" << T::Double;
    QTest::newRow("/ is always Double") << QByteArray("6/3") << "2" << T::Double;
    QTest::newRow("^ is always Double") << QByteArray("2^2") << "4" << T::Double;
    QTest::newRow("Booleans add as Integers") << QByteArray("True+True") << "-2" << T::Integer;
    QTest::newRow("Empty is zero") << QByteArray("Empty+1") << "1" << T::Integer;
    QTest::newRow("Empty + Empty") << QByteArray("Empty+Empty") << "0" << T::Integer;
    QTest::newRow("unassigned name is zero") << QByteArray("nothingHere*3") << "0" << T::Integer;
    QTest::newRow("numeric string times number") << QByteArray("\"3\"*2") << "6" << T::Double;
    QTest::newRow("numeric string plus number") << QByteArray("\" 3 \"+1") << "4" << T::Double;
    QTest::newRow("two strings join with +") << QByteArray("\"a\"+\"b\"") << "ab" << T::String;
    QTest::newRow("string + Empty") << QByteArray("\"a\"+Empty") << "a" << T::String;
    QTest::newRow("& joins numbers") << QByteArray("1 & 2") << "12" << T::String;
    QTest::newRow("& writes Booleans") << QByteArray("True & \"\"") << "True" << T::String;
    QTest::newRow("& writes 15 digits") << QByteArray("0.1+0.2 & \"\"") << "0.3" << T::String;
    QTest::newRow("& skips Null") << QByteArray("Null & \"a\"") << "a" << T::String;
    QTest::newRow("tiny results stay finite") << QByteArray("1E-300*1E-300") << "0" << T::Double;

    // \ and Mod
    QTest::newRow("\\ truncates") << QByteArray("7\\2") << "3" << T::Integer;
    QTest::newRow("\\ truncates toward zero") << QByteArray("-7\\2") << "-3" << T::Integer;
    QTest::newRow("\\ rounds 2.5 to even") << QByteArray("2.5\\1") << "2" << T::Long;
    QTest::newRow("\\ rounds 3.5 to even") << QByteArray("3.5\\1") << "4" << T::Long;
    QTest::newRow("\\ rounds -2.5 to even") << QByteArray("-2.5\\1") << "-2" << T::Long;
    QTest::newRow("\\ rounds the divisor") << QByteArray("10\\2.6") << "3" << T::Long;
    QTest::newRow("Mod takes the dividend's sign") << QByteArray("-7 Mod 3") << "-1" << T::Integer;
    QTest::newRow("Mod with negative divisor") << QByteArray("7 Mod -3") << "1" << T::Integer;
    QTest::newRow("Mod rounds 5.5 to 6") << QByteArray("5.5 Mod 4") << "2" << T::Long;
    QTest::newRow("Mod rounds 4.5 to 4") << QByteArray("4.5 Mod 3") << "1" << T::Long;
    QTest::newRow("smallest Integer \\ -1 widens") << QByteArray("&H8000 \\ -1") << "32768" << T::Long;
    QTest::newRow("smallest Long Mod -1") << QByteArray("&H80000000 Mod -1") << "0" << T::Long;

    // Comparisons
    QTest::newRow("less") << QByteArray("1<2") << "True" << T::Boolean;
    QTest::newRow("less or equal") << QByteArray("2<=2") << "True" << T::Boolean;
    QTest::newRow("greater") << QByteArray("1>2") << "False" << T::Boolean;
    QTest::newRow("greater or equal") << QByteArray("1>=2") << "False" << T::Boolean;
    QTest::newRow("not equal") << QByteArray("1<>1") << "False" << T::Boolean;
    QTest::newRow("Integer equals Double") << QByteArray("1=1.0") << "True" << T::Boolean;
    QTest::newRow("strings compare binary") << QByteArray("\"B\"<\"a\"") << "True" << T::Boolean;
    QTest::newRow("Empty equals 0") << QByteArray("Empty=0") << "True" << T::Boolean;
    QTest::newRow("Empty equals empty string") << QByteArray("Empty=\"\"") << "True" << T::Boolean;
    QTest::newRow("computed numbers sort before strings") << QByteArray("(1+0)<\"a\"") << "True" << T::Boolean;
    QTest::newRow("comparison with Null") << QByteArray("Null=Null") << "<Null>" << T::Null;

    // Logical and bitwise operators
    QTest::newRow("Boolean And") << QByteArray("True And False") << "False" << T::Boolean;
    QTest::newRow("bitwise And") << QByteArray("5 And 3") << "1" << T::Integer;
    QTest::newRow("bitwise Or") << QByteArray("5 Or 3") << "7" << T::Integer;
    QTest::newRow("bitwise Xor") << QByteArray("5 Xor 3") << "6" << T::Integer;
    QTest::newRow("bitwise Eqv") << QByteArray("5 Eqv 3") << "-7" << T::Integer;
    QTest::newRow("bitwise Imp") << QByteArray("5 Imp 3") << "-5" << T::Integer;
    QTest::newRow("True And number") << QByteArray("True And 5") << "5" << T::Integer;
    QTest::newRow("Long operand gives Long") << QByteArray("65536 Or 1") << "65537" << T::Long;
    QTest::newRow("Not True") << QByteArray("Not True") << "False" << T::Boolean;
    QTest::newRow("Not 0") << QByteArray("Not 0") << "-1" << T::Integer;
    QTest::newRow("Not rounds a Double") << QByteArray("Not 2.5") << "-3" << T::Long;
    QTest::newRow("Null And False") << QByteArray("Null And False") << "False" << T::Boolean;
    QTest::newRow("Null And True") << QByteArray("Null And True") << "<Null>" << T::Null;
    QTest::newRow("Null Or True") << QByteArray("Null Or True") << "True" << T::Boolean;
    QTest::newRow("Null Or False") << QByteArray("Null Or False") << "<Null>" << T::Null;
    QTest::newRow("Null Xor True") << QByteArray("Null Xor True") << "<Null>" << T::Null;
    QTest::newRow("False Imp Null") << QByteArray("False Imp Null") << "True" << T::Boolean;
    QTest::newRow("Null Imp True") << QByteArray("Null Imp True") << "True" << T::Boolean;
    QTest::newRow("True Imp Null") << QByteArray("True Imp Null") << "<Null>" << T::Null;
    QTest::newRow("Not Null") << QByteArray("Not Null") << "<Null>" << T::Null;

    // Null through arithmetic
    QTest::newRow("Null + 1") << QByteArray("Null + 1") << "<Null>" << T::Null;
    QTest::newRow("Null * 0") << QByteArray("Null * 0") << "<Null>" << T::Null;
    QTest::newRow("Null / 0") << QByteArray("Null / 0") << "<Null>" << T::Null;
    QTest::newRow("negated Null") << QByteArray("-Null") << "<Null>" << T::Null;
    QTest::newRow("Null & Null") << QByteArray("Null & Null") << "<Null>" << T::Null;

    // Literals
    QTest::newRow("exponent literal") << QByteArray("1E-05") << "1E-05" << T::Double;
    QTest::newRow("leading point") << QByteArray(".5") << "0.5" << T::Double;
    QTest::newRow("trailing point") << QByteArray("10.") << "10" << T::Double;
    QTest::newRow("lower-case exponent") << QByteArray("1.5e3") << "1500" << T::Double;
    QTest::newRow("largest Integer literal") << QByteArray("32767") << "32767" << T::Integer;
    QTest::newRow("Long literal") << QByteArray("32768") << "32768" << T::Long;
    QTest::newRow("whole literal past Long") << QByteArray("2147483648") << "2147483648" << T::Double;
    QTest::newRow("hex literal") << QByteArray("&HFF") << "255" << T::Integer;
    QTest::newRow("lower-case hex") << QByteArray("&hff") << "255" << T::Integer;
    QTest::newRow("hex FFFF is -1") << QByteArray("&HFFFF") << "-1" << T::Integer;
    QTest::newRow("five hex digits are Long") << QByteArray("&H10000") << "65536" << T::Long;
    QTest::newRow("hex FFFFFFFF is -1") << QByteArray("&HFFFFFFFF") << "-1" << T::Long;
    QTest::newRow("octal literal") << QByteArray("&O17") << "15" << T::Integer;
    QTest::newRow("octal without O") << QByteArray("&17") << "15" << T::Integer;
    QTest::newRow("doubled quote") << QByteArray("\"say \"\"hi\"\"\"") << "say \"hi\"" << T::String;
    QTest::newRow("empty string") << QByteArray("\"\"") << "" << T::String;
    QTest::newRow("UTF-8 inside a string") << QByteArray("\"\xc3\xa9\"") << QString::fromUtf8("\xc3\xa9") << T::String;
    QTest::newRow("underflowing literal is 0") << QByteArray("1E-400") << "0" << T::Double;
    QTest::newRow("long whole literal") << QByteArray("99999999999999999999") << "1E+20" << T::Double;
    QTest::newRow("True literal") << QByteArray("True") << "True" << T::Boolean;
    QTest::newRow("False literal") << QByteArray("False") << "False" << T::Boolean;
    QTest::newRow("keywords ignore case") << QByteArray("tRuE") << "True" << T::Boolean;
    QTest::newRow("function names ignore case") << QByteArray("sQr(16)") << "4" << T::Double;
    QTest::newRow("comment ends the text") << QByteArray("1+1 ' two") << "2" << T::Integer;

    // Built-ins with exact answers
    QTest::newRow("Abs keeps Integer") << QByteArray("Abs(-2)") << "2" << T::Integer;
    QTest::newRow("Abs widens") << QByteArray("Abs(&H8000)") << "32768" << T::Long;
    QTest::newRow("Abs of Double") << QByteArray("Abs(-2.5)") << "2.5" << T::Double;
    QTest::newRow("Abs of Null") << QByteArray("Abs(Null)") << "<Null>" << T::Null;
    QTest::newRow("Int floors") << QByteArray("Int(-2.5)") << "-3" << T::Double;
    QTest::newRow("Fix truncates") << QByteArray("Fix(-2.5)") << "-2" << T::Double;
    QTest::newRow("Int keeps Integer") << QByteArray("Int(3)") << "3" << T::Integer;
    QTest::newRow("Sgn is Integer") << QByteArray("Sgn(-0.5)") << "-1" << T::Integer;
    QTest::newRow("Sgn of 0") << QByteArray("Sgn(0)") << "0" << T::Integer;
    QTest::newRow("Atn gives pi") << QByteArray("Atn(1)*4") << "3.14159265358979" << T::Double;
    QTest::newRow("Log of 1") << QByteArray("Log(1)") << "0" << T::Double;
    QTest::newRow("Exp of 0") << QByteArray("Exp(0)") << "1" << T::Double;
    QTest::newRow("CInt rounds 2.5 to even") << QByteArray("CInt(2.5)") << "2" << T::Integer;
    QTest::newRow("CInt rounds 3.5 to even") << QByteArray("CInt(3.5)") << "4" << T::Integer;
    QTest::newRow("CInt rounds -2.5 to even") << QByteArray("CInt(-2.5)") << "-2" << T::Integer;
    QTest::newRow("CInt of smallest") << QByteArray("CInt(-32768.5)") << "-32768" << T::Integer;
    QTest::newRow("CInt of a string") << QByteArray("CInt(\"12\")") << "12" << T::Integer;
    QTest::newRow("CLng") << QByteArray("CLng(2147483647.4)") << "2147483647" << T::Long;
    QTest::newRow("CDbl of a string") << QByteArray("CDbl(\"1.5\")") << "1.5" << T::Double;
    QTest::newRow("CDbl of hex string") << QByteArray("CDbl(\"&H10\")") << "16" << T::Double;
    QTest::newRow("CDbl of Integer") << QByteArray("CDbl(1)") << "1" << T::Double;
    QTest::newRow("CBool of a number") << QByteArray("CBool(2)") << "True" << T::Boolean;
    QTest::newRow("CBool of False text") << QByteArray("CBool(\"false\")") << "False" << T::Boolean;
    QTest::newRow("CBool of Empty") << QByteArray("CBool(Empty)") << "False" << T::Boolean;
    QTest::newRow("CStr of 1E+15") << QByteArray("CStr(1E+15)") << "1E+15" << T::String;
    QTest::newRow("CStr of True") << QByteArray("CStr(True)") << "True" << T::String;
    QTest::newRow("CStr of Empty") << QByteArray("CStr(Empty)") << "" << T::String;
    QTest::newRow("Round 2.5 to even") << QByteArray("Round(2.5)") << "2" << T::Double;
    QTest::newRow("Round 3.5 to even") << QByteArray("Round(3.5)") << "4" << T::Double;
    QTest::newRow("Round -2.5 to even") << QByteArray("Round(-2.5)") << "-2" << T::Double;
    QTest::newRow("Round to places, tie to even") << QByteArray("Round(1.25, 1)") << "1.2" << T::Double;
    QTest::newRow("Round to places") << QByteArray("Round(3.14159, 3)") << "3.142" << T::Double;
    QTest::newRow("Round keeps Integer") << QByteArray("Round(7)") << "7" << T::Integer;
    QTest::newRow("Round of huge value") << QByteArray("Round(1E+300, 20)") << "1E+300" << T::Double;
    QTest::newRow("Round of Null") << QByteArray("Round(Null)") << "<Null>" << T::Null;
    QTest::newRow("Rnd lies in [0, 1)") << QByteArray("Rnd >= 0 And Rnd < 1") << "True" << T::Boolean;
}

void tst_Script::evaluates()
{
    QFETCH(QByteArray, expression);
    QFETCH(QString, text);
    QFETCH(VarType, type);
    Engine engine;
    Value v;
    const int error = errorOf([&] { v = engine.Eval(bytes(expression)); });
    QCOMPARE(error, 0);
    QCOMPARE(shown(v), text);
    QCOMPARE(v.type(), type);
}

// Expression -> the language's error number.
void tst_Script::raisesErrors_data()
{
    QTest::addColumn<QByteArray>("expression");
    QTest::addColumn<int>("error");

    // Syntax errors
    QTest::newRow("operator without operand") << QByteArray("X+*2") << 1002;
    QTest::newRow("unclosed parenthesis") << QByteArray("(1+2") << 1006;
    QTest::newRow("unclosed call") << QByteArray("Sin(1") << 1006;
    QTest::newRow("unclosed string") << QByteArray("\"abc") << 1033;
    QTest::newRow("string across a line end") << QByteArray("\"a\nb\"") << 1033;
    QTest::newRow("two operands in a row") << QByteArray("1 2") << 1025;
    QTest::newRow("two names in a row") << QByteArray("a b") << 1025;
    QTest::newRow("number then name") << QByteArray("2X") << 1025;
    QTest::newRow("stray character") << QByteArray("@") << 1032;
    QTest::newRow("bracket") << QByteArray("[1]") << 1032;
    QTest::newRow("semicolon") << QByteArray("1;2") << 1032;
    QTest::newRow("lone point") << QByteArray("1+.") << 1032;
    QTest::newRow("trailing operator") << QByteArray("2+") << 1002;
    QTest::newRow("leading operator") << QByteArray("*2") << 1002;
    QTest::newRow("closing parenthesis alone") << QByteArray(")") << 1002;
    QTest::newRow("empty parentheses") << QByteArray("()") << 1002;
    QTest::newRow("exponent without digits") << QByteArray("1E") << 1031;
    QTest::newRow("exponent sign without digits") << QByteArray("1E+") << 1031;
    QTest::newRow("Not without operand") << QByteArray("Not") << 1002;
    QTest::newRow("Mod without left operand") << QByteArray("Mod 2") << 1002;
    QTest::newRow("double equals") << QByteArray("1==1") << 1002;
    QTest::newRow("Not inside arithmetic") << QByteArray("1+Not 0") << 1002;
    QTest::newRow("statement separator") << QByteArray("1:2") << 1025;

    // Run-time errors
    QTest::newRow("divide by zero") << QByteArray("1/0") << 11;
    QTest::newRow("zero by zero") << QByteArray("0/0") << 6;
    QTest::newRow("\\ by zero") << QByteArray("1\\0") << 11;
    QTest::newRow("\\ by divisor rounding to zero") << QByteArray("1\\0.4") << 11;
    QTest::newRow("Mod by zero") << QByteArray("1 Mod 0") << 11;
    QTest::newRow("\\ outside 32 bits") << QByteArray("2147483648\\1") << 6;
    QTest::newRow("Mod outside 32 bits") << QByteArray("1E+10 Mod 3") << 6;
    QTest::newRow("smallest Long \\ -1") << QByteArray("&H80000000 \\ -1") << 6;
    QTest::newRow("bitwise outside 32 bits") << QByteArray("1E+10 And 1") << 6;
    QTest::newRow("Sqr of negative") << QByteArray("Sqr(-1)") << 5;
    QTest::newRow("Log of zero") << QByteArray("Log(0)") << 5;
    QTest::newRow("Log of negative") << QByteArray("Log(-1)") << 5;
    QTest::newRow("Exp overflow") << QByteArray("Exp(710)") << 6;
    QTest::newRow("fractional power of negative") << QByteArray("(-8)^(1/3)") << 5;
    QTest::newRow("zero to a negative power") << QByteArray("0^-1") << 5;
    QTest::newRow("power overflow") << QByteArray("10^400") << 6;
    QTest::newRow("product overflow") << QByteArray("1E+308*10") << 6;
    QTest::newRow("sum overflow") << QByteArray("1E+308+1E+308") << 6;
    QTest::newRow("difference overflow") << QByteArray("-1E+308-1E+308") << 6;
    QTest::newRow("quotient overflow") << QByteArray("1E+308/1E-308") << 6;
    QTest::newRow("literal overflow") << QByteArray("1E+400") << 6;
    QTest::newRow("hex literal overflow") << QByteArray("&H100000000") << 6;
    QTest::newRow("CInt overflow") << QByteArray("CInt(32767.5)") << 6;
    QTest::newRow("CLng overflow") << QByteArray("CLng(2147483647.5)") << 6;
    QTest::newRow("CDbl of huge text") << QByteArray("CDbl(\"1E+400\")") << 6;
    QTest::newRow("CInt of text") << QByteArray("CInt(\"abc\")") << 13;
    QTest::newRow("text times number") << QByteArray("\"a\"*2") << 13;
    QTest::newRow("negated text") << QByteArray("-\"a\"") << 13;
    QTest::newRow("text minus Empty") << QByteArray("\"a\"-Empty") << 13;
    QTest::newRow("Sin of text") << QByteArray("Sin(\"x\")") << 13;
    QTest::newRow("CBool of text") << QByteArray("CBool(\"yes\")") << 13;
    QTest::newRow("unknown function") << QByteArray("Foo(1)") << 13;
    QTest::newRow("variable called") << QByteArray("X(1)") << 13;
    QTest::newRow("too few arguments") << QByteArray("Sin()") << 450;
    QTest::newRow("too many arguments") << QByteArray("Sin(1,2)") << 450;
    QTest::newRow("Round with three") << QByteArray("Round(1,2,3)") << 450;
    QTest::newRow("function without arguments") << QByteArray("Sin") << 450;
    QTest::newRow("Round to negative places") << QByteArray("Round(2.5, -1)") << 5;
    QTest::newRow("CStr of Null") << QByteArray("CStr(Null)") << 94;
    QTest::newRow("CDbl of Null") << QByteArray("CDbl(Null)") << 94;
    QTest::newRow("CInt of Null") << QByteArray("CInt(Null)") << 94;
    QTest::newRow("CBool of Null") << QByteArray("CBool(Null)") << 94;
    QTest::newRow("Sqr of Null") << QByteArray("Sqr(Null)") << 94;
    QTest::newRow("Sgn of Null") << QByteArray("Sgn(Null)") << 94;
    QTest::newRow("Round places of Null") << QByteArray("Round(1, Null)") << 94;
}

void tst_Script::raisesErrors()
{
    QFETCH(QByteArray, expression);
    QFETCH(int, error);
    Engine engine;
    QCOMPARE(errorOf([&] { engine.Eval(bytes(expression)); }), error);
}

// The two conversions callers use on a result: toText and toDouble.
void tst_Script::convertsValues_data()
{
    QTest::addColumn<QByteArray>("expression");
    QTest::addColumn<double>("number");
    QTest::addColumn<int>("numberError");
    QTest::addColumn<int>("textError");

    QTest::newRow("Double") << QByteArray("2.5") << 2.5 << 0 << 0;
    QTest::newRow("True is -1") << QByteArray("True") << -1.0 << 0 << 0;
    QTest::newRow("Empty is 0") << QByteArray("Empty") << 0.0 << 0 << 0;
    QTest::newRow("numeric text") << QByteArray("\"12.5\"") << 12.5 << 0 << 0;
    QTest::newRow("numeric text with blanks") << QByteArray("\" 7 \"") << 7.0 << 0 << 0;
    QTest::newRow("signed text") << QByteArray("\"-1E-2\"") << -0.01 << 0 << 0;
    QTest::newRow("hex text") << QByteArray("\"&H10\"") << 16.0 << 0 << 0;
    QTest::newRow("other text") << QByteArray("\"abc\"") << 0.0 << 13 << 0;
    QTest::newRow("empty text") << QByteArray("\"\"") << 0.0 << 13 << 0;
    QTest::newRow("Null") << QByteArray("Null") << 0.0 << 94 << 94;
}

void tst_Script::convertsValues()
{
    QFETCH(QByteArray, expression);
    QFETCH(double, number);
    QFETCH(int, numberError);
    QFETCH(int, textError);
    Engine engine;
    const Value v = engine.Eval(bytes(expression));
    double d = 0;
    QCOMPARE(errorOf([&] { d = v.toDouble(); }), numberError);
    if (numberError == 0)
        QCOMPARE(d, number);
    QCOMPARE(errorOf([&] { v.toText(); }), textError);
}

// Each built-in against <cmath> over a sweep of X, with X handed over as text the way the
// windows do, so X is the 15-digit value.
void tst_Script::builtinsMatchTheMathLibrary_data()
{
    QTest::addColumn<QString>("function");
    for (const char *f : {"Sin", "Cos", "Tan", "Atn", "Exp", "Log", "Sqr", "Abs", "Int", "Fix", "Sgn"})
        QTest::newRow(f) << QString::fromLatin1(f);
}

void tst_Script::builtinsMatchTheMathLibrary()
{
    QFETCH(QString, function);
    struct Reference
    {
        double (*fn)(double);
        int domainError; // error expected where fn leaves the domain (0: never)
        bool (*inDomain)(double);
    };
    static const std::map<QString, Reference> references = {
        {"Sin", {[](double x) { return std::sin(x); }, 0, nullptr}},
        {"Cos", {[](double x) { return std::cos(x); }, 0, nullptr}},
        {"Tan", {[](double x) { return std::tan(x); }, 0, nullptr}},
        {"Atn", {[](double x) { return std::atan(x); }, 0, nullptr}},
        {"Exp", {[](double x) { return std::exp(x); }, 6, [](double x) { return x < 709.78; }}},
        {"Log", {[](double x) { return std::log(x); }, 5, [](double x) { return x > 0; }}},
        {"Sqr", {[](double x) { return std::sqrt(x); }, 5, [](double x) { return x >= 0; }}},
        {"Abs", {[](double x) { return std::fabs(x); }, 0, nullptr}},
        {"Int", {[](double x) { return std::floor(x); }, 0, nullptr}},
        {"Fix", {[](double x) { return std::trunc(x); }, 0, nullptr}},
        {"Sgn", {[](double x) { return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0); }, 0, nullptr}},
    };
    const Reference &ref = references.at(function);
    const std::string expression = function.toStdString() + "(X)";

    std::vector<double> xs = {0, -0.0, 1e-300, -1e-300, 709.7, 709.8, 1e300, -1e300, 1.5707963267949};
    for (int i = 0; i <= 400; ++i)
        xs.push_back(-10 + i * 0.05137);
    Engine engine;
    for (const double x : xs) {
        const std::string xText = script::numberToText(x);
        engine.ExecuteStatement("X=" + xText);
        const double seen = script::leadingNumber(xText);
        const bool inside = !ref.inDomain || ref.inDomain(seen);
        Value v;
        const int error = errorOf([&] { v = engine.Eval(expression); });
        QVERIFY2(error == (inside ? 0 : ref.domainError), (expression + " at X=" + xText).c_str());
        if (inside)
            QCOMPARE(v.toDouble(), ref.fn(seen));
    }
}

// Statements run in order ('|' separates ExecuteStatement calls), then an expression.
void tst_Script::statements_data()
{
    QTest::addColumn<QByteArray>("statements");
    QTest::addColumn<QByteArray>("expression");
    QTest::addColumn<QString>("text");
    QTest::addColumn<VarType>("type");
    using T = VarType;

    QTest::newRow("X^2 at -3") << QByteArray("X=-3") << QByteArray("X^2") << "9" << T::Double;
    QTest::newRow("X^2 at 0.5") << QByteArray("X=0.5") << QByteArray("X^2") << "0.25" << T::Double;
    QTest::newRow("no X at all") << QByteArray("X=7") << QByteArray("2+3") << "5" << T::Integer;
    QTest::newRow("names ignore case") << QByteArray("x=3") << QByteArray("X") << "3" << T::Integer;
    QTest::newRow("whole number is Integer") << QByteArray("X=2") << QByteArray("X") << "2" << T::Integer;
    QTest::newRow("negative Integer") << QByteArray("X=-3") << QByteArray("X") << "-3" << T::Integer;
    QTest::newRow("-32768 is a negated Long") << QByteArray("X=-32768") << QByteArray("X") << "-32768" << T::Long;
    QTest::newRow("negative fraction") << QByteArray("X=-0.5") << QByteArray("X") << "-0.5" << T::Double;
    QTest::newRow("exponent form") << QByteArray("X=1E-05") << QByteArray("X*2") << "2E-05" << T::Double;
    QTest::newRow("large exponent form") << QByteArray("X=-1.5E+20") << QByteArray("X") << "-1.5E+20" << T::Double;
    QTest::newRow("last assignment wins") << QByteArray("X=1|X=5") << QByteArray("X") << "5" << T::Integer;
    QTest::newRow("other names too") << QByteArray("Foo_1=4") << QByteArray("foo_1") << "4" << T::Integer;
    QTest::newRow("blanks around =") << QByteArray("X = 7") << QByteArray("X") << "7" << T::Integer;
    QTest::newRow("expression assigned") << QByteArray("a=2|b=a*a+1") << QByteArray("b") << "5" << T::Integer;
    QTest::newRow("colon separates") << QByteArray("a=1:b=a+1") << QByteArray("a+b") << "3" << T::Integer;
    QTest::newRow("line feed separates") << QByteArray("a=1\nb=2") << QByteArray("a*10+b") << "12" << T::Integer;
    QTest::newRow("CR LF separates") << QByteArray("a=1\r\nb=2") << QByteArray("a*10+b") << "12" << T::Integer;
    QTest::newRow("empty statements") << QByteArray("::\n:a=1:") << QByteArray("a") << "1" << T::Integer;
    QTest::newRow("comment after statement") << QByteArray("X=4 ' four") << QByteArray("X") << "4" << T::Integer;
    QTest::newRow("string value") << QByteArray("s=\"ab\"") << QByteArray("s & s") << "abab" << T::String;
    QTest::newRow("Null value") << QByteArray("n=Null") << QByteArray("n") << "<Null>" << T::Null;
    QTest::newRow("empty statement text") << QByteArray("") << QByteArray("X") << "" << T::Empty;
}

void tst_Script::statements()
{
    QFETCH(QByteArray, statements);
    QFETCH(QByteArray, expression);
    QFETCH(QString, text);
    QFETCH(VarType, type);
    Engine engine;
    QCOMPARE(errorOf([&] { runAll(engine, statements); }), 0);
    const Value v = engine.Eval(bytes(expression));
    QCOMPARE(shown(v), text);
    QCOMPARE(v.type(), type);

    // AddCode runs the same line the same way.
    Engine other;
    for (const QByteArray &s : statements.split('|'))
        other.AddCode(bytes(s));
    QCOMPARE(shown(other.Eval(bytes(expression))), text);
}

// A failing statement list: its error, and what the earlier statements left behind.
void tst_Script::statementErrors_data()
{
    QTest::addColumn<QByteArray>("statement");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("aAfterwards");

    QTest::newRow("name alone") << QByteArray("X") << 1011 << "";
    QTest::newRow("no name") << QByteArray("=5") << 1024 << "";
    QTest::newRow("number as target") << QByteArray("1=2") << 1024 << "";
    QTest::newRow("keyword as target") << QByteArray("True=1") << 1024 << "";
    QTest::newRow("built-in as target") << QByteArray("Sin=1") << 501 << "";
    QTest::newRow("missing value") << QByteArray("X=") << 1002 << "";
    QTest::newRow("two statements without separator") << QByteArray("X=1 Y=2") << 1025 << "";
    QTest::newRow("bad number in fast form") << QByteArray("X=1E") << 1031 << "";
    QTest::newRow("overflowing number") << QByteArray("X=1E400") << 6 << "";
    QTest::newRow("syntax error runs nothing") << QByteArray("a=5:b=(1") << 1006 << "";
    QTest::newRow("call without parentheses") << QByteArray("a=5:b=Abs 1") << 1025 << "";
    QTest::newRow("syntax error wins over an assignment to a built-in") << QByteArray("Sin=1 2") << 1025 << "";
    QTest::newRow("run-time error keeps earlier ones") << QByteArray("a=5:b=1/0:a=6") << 11 << "5";
}

void tst_Script::statementErrors()
{
    QFETCH(QByteArray, statement);
    QFETCH(int, error);
    QFETCH(QString, aAfterwards);
    Engine engine;
    QCOMPARE(errorOf([&] { engine.ExecuteStatement(bytes(statement)); }), error);
    QCOMPARE(shown(engine.Eval("a")), aAfterwards);
}

// Hostile texts end in an error quickly instead of crashing or hanging.
void tst_Script::limitsEndInAnError_data()
{
    QTest::addColumn<QByteArray>("expression");
    QTest::addColumn<int>("error");

    QTest::newRow("100000 open parentheses") << QByteArray(100000, '(') << 1001;
    QTest::newRow("60000 open parentheses") << QByteArray(60000, '(') << 28;
    QTest::newRow("deep balanced nesting") << QByteArray(300, '(') + "1" + QByteArray(300, ')') << 28;
    QTest::newRow("long sign chain") << QByteArray(60000, '-') + "1" << 28;
    QTest::newRow("long Not chain") << QByteArray("Not ").repeated(10000) + "1" << 28;
    QTest::newRow("nested calls") << QByteArray("Abs(").repeated(300) + "1" + QByteArray(300, ')') << 28;
    QTest::newRow("1 MB equation") << QByteArray("1+").repeated(500000) + "1" << 1001;
    QTest::newRow("NUL byte") << QByteArray("1+\0", 3) << 1032;
    QTest::newRow("NUL inside a string") << QByteArray("\"a\0\"", 4) << 1032;
    QTest::newRow("invalid UTF-8") << QByteArray("\xff") << 1032;
    QTest::newRow("truncated UTF-8 in a string") << QByteArray("\"\xc3\"") << 1032;
    QTest::newRow("overlong UTF-8 in a string") << QByteArray("\"\xc0\xaf\"") << 1032;
    QTest::newRow("non-ASCII letter") << QByteArray("\xc3\xa9+1") << 1032;
    QTest::newRow("Greek capital chi for X") << QByteArray("\xce\xa7^2") << 1032;
    QTest::newRow("control character") << QByteArray("1+\x01") << 1032;
    QTest::newRow("run of operators") << QByteArray("1+-+-+-*2") << 1002;
    QTest::newRow("carets only") << QByteArray("^^^") << 1002;
    QTest::newRow("huge literal") << QByteArray("1") + QByteArray(400, '0') << 6;
    QTest::newRow("long name") << QByteArray(300, 'a') << 1030;
}

void tst_Script::limitsEndInAnError()
{
    QFETCH(QByteArray, expression);
    QFETCH(int, error);
    Engine engine;
    QCOMPARE(errorOf([&] { engine.Eval(bytes(expression)); }), error);
    QCOMPARE(errorOf([&] { engine.ExecuteStatement("X=" + std::string(bytes(expression))); }) != 0, true);
    QCOMPARE(engine.Eval("1+1").toDouble(), 2.0);
}

// Assigning a number directly gives X exactly what the statement "X=<its text>" gives: the
// same type and the same value, bit for bit, or the same error, over edges and a sweep of
// values of every magnitude.
void tst_Script::assignNumberReadsAsItsText()
{
    std::vector<double> values = {0.0, -0.0, 1, -1, 0.5, 0.1 + 0.2, 32767, 32768, -32768, -32769,
                                  2147483647, 2147483648.0, -2147483648.0, -2147483649.0, 1e14, 1e15,
                                  999999999999999, 1e-5, 9.99999999999999e-6, 1.5e-300, 4.9e-324,
                                  1.7976931348623e308, std::numeric_limits<double>::max(), -10 + 20.0 / 10250};
    std::uint64_t state = 0x9E3779B97F4A7C15u;
    for (int i = 0; i < 200000; ++i) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        double x = 0;
        if (i % 2) {
            std::memcpy(&x, &state, sizeof x); // any bit pattern: every magnitude
        } else {
            // Plot and table X values: a range split into many steps.
            x = -1000 + static_cast<double>(state % 2000000) / 1000.0 * (i % 3 ? 1 : 1.000000001);
        }
        if (std::isfinite(x))
            values.push_back(x);
    }
    Engine direct, byText;
    for (double x : values) {
        const int directError = errorOf([&] { direct.AssignNumber("X", x); });
        const int textError = errorOf([&] { byText.ExecuteStatement("X=" + script::numberToText(x)); });
        if (directError != textError)
            QFAIL(qPrintable(QStringLiteral("X = %1: error %2 directly, %3 by its text").arg(x, 0, 'g', 17).arg(directError).arg(textError)));
        if (directError)
            continue;
        const Value a = direct.Eval("X"), b = byText.Eval("X");
        const bool same = a.type() == b.type()
                          && (a.type() == VarType::Double
                                  ? std::bit_cast<std::uint64_t>(a.doubleValue())
                                        == std::bit_cast<std::uint64_t>(b.doubleValue())
                                  : a.integerValue() == b.integerValue());
        if (!same)
            QFAIL(qPrintable(QStringLiteral("X = %1 assigned differently").arg(x, 0, 'g', 17)));
    }
    QCOMPARE(errorOf([&] { direct.AssignNumber("X", HUGE_VAL); }), 6);
    QCOMPARE(errorOf([&] { direct.AssignNumber("X", std::nan("")); }), 6);
}

void tst_Script::emptyTextIsEmpty()
{
    Engine engine;
    QCOMPARE(engine.Eval("").type(), VarType::Empty);
    QCOMPARE(engine.Eval("   ").type(), VarType::Empty);
    QCOMPARE(errorOf([&] { engine.ExecuteStatement(""); }), 0);
    // The longest accepted text still evaluates.
    const QByteArray longest = QByteArray("1+").repeated(32767) + "1";
    QCOMPARE(engine.Eval(bytes(longest)).toText(), std::string("32768"));
}

void tst_Script::failureLeavesEngineUsable()
{
    Engine engine;
    engine.ExecuteStatement("X=2");
    QCOMPARE(errorOf([&] { engine.Eval("X+*2"); }), 1002);
    QCOMPARE(errorOf([&] { engine.Eval("X+*2"); }), 1002);
    QCOMPARE(errorOf([&] { engine.Eval("1/(X-2)"); }), 11);
    QCOMPARE(engine.Eval("X^2").toText(), std::string("4"));
    QCOMPARE(engine.Eval("2+3").toText(), std::string("5"));
}

void tst_Script::cacheNeverHidesChanges()
{
    Engine engine;
    engine.ExecuteStatement("X=1");
    QCOMPARE(engine.Eval("X*2").toText(), std::string("2"));
    engine.ExecuteStatement("X=5");
    QCOMPARE(engine.Eval("X*2").toText(), std::string("10"));
    // A name evaluated before it exists, then assigned.
    QCOMPARE(engine.Eval("q+1").toText(), std::string("1"));
    engine.ExecuteStatement("q = 4");
    QCOMPARE(engine.Eval("q+1").toText(), std::string("5"));
    // Many more distinct texts than the cache holds, then an early one again.
    for (int i = 0; i < 300; ++i)
        QCOMPARE(engine.Eval("X+" + std::to_string(i)).toDouble(), 5.0 + i);
    engine.ExecuteStatement("X=-1");
    QCOMPARE(engine.Eval("X+0").toText(), std::string("-1"));
    QCOMPARE(engine.Eval("X*2").toText(), std::string("-2"));
}

void tst_Script::resetForgetsEverything()
{
    Engine engine;
    engine.ExecuteStatement("X=3:s=\"t\"");
    QCOMPARE(engine.Eval("X+1").toText(), std::string("4"));
    engine.Reset();
    QCOMPARE(engine.Eval("X+1").toText(), std::string("1"));
    QCOMPARE(engine.Eval("s").type(), VarType::Empty);
    engine.ExecuteStatement("X=2");
    QCOMPARE(engine.Eval("X+1").toText(), std::string("3"));
}

void tst_Script::variableCountIsBounded()
{
    Engine engine;
    int error = 0;
    int i = 0;
    for (; i < 10000 && error == 0; ++i)
        error = errorOf([&] { engine.ExecuteStatement("v" + std::to_string(i) + "=1"); });
    QCOMPARE(error, 7);
    QCOMPARE(i, int(Engine::kMaxVariables) + 1);
    engine.ExecuteStatement("v0=2"); // existing names still work
    QCOMPARE(engine.Eval("v0").toText(), std::string("2"));
    engine.Reset();
    QCOMPARE(errorOf([&] { engine.ExecuteStatement("fresh=1"); }), 0);
}

void tst_Script::stringLengthIsBounded()
{
    Engine engine;
    engine.ExecuteStatement("s=\"" + std::string(40000, 'a') + "\"");
    QCOMPARE(errorOf([&] { engine.Eval("s & s"); }), 14);
    QCOMPARE(errorOf([&] { engine.Eval("s + s"); }), 14);
    QCOMPARE(engine.Eval("s & \"b\" = s").toText(), std::string("False"));
}

void tst_Script::rndIsDeterministicPerEngine()
{
    Engine a, b;
    std::vector<double> first;
    for (int i = 0; i < 50; ++i) {
        const double x = a.Eval("Rnd").toDouble();
        QVERIFY(x >= 0 && x < 1);
        QCOMPARE(b.Eval("Rnd()").toDouble(), x);
        first.push_back(x);
    }
    QCOMPARE(a.Eval("Rnd(0)").toDouble(), first.back());
    QCOMPARE(a.Eval("Rnd(1)").toDouble(), b.Eval("Rnd").toDouble());
    const double reseeded = a.Eval("Rnd(-3)").toDouble();
    a.Eval("Rnd");
    QCOMPARE(a.Eval("Rnd(-3)").toDouble(), reseeded);
    a.Reset();
    QCOMPARE(a.Eval("Rnd").toDouble(), first.front());
}

namespace {

// A clock on which every reading is an hour later than the one before.
script::Deadline::Clock::time_point slowClock()
{
    static script::Deadline::Clock::time_point t;
    t += std::chrono::hours(1);
    return t;
}

} // namespace

void tst_Script::timeoutStopsLongCalls()
{
    // A 32768-character string compared with itself thousands of times: long enough for the
    // engine to look at its clock, on which a millisecond has always passed by then.
    Engine engine;
    engine.setClock(&slowClock);
    engine.ExecuteStatement("s=\"ab\"");
    for (int i = 0; i < 14; ++i)
        engine.ExecuteStatement("s=s&s");
    const QByteArray slow = QByteArray("(s=s)+").repeated(9000) + "0";
    QCOMPARE(engine.timeout(), 10000);
    engine.setTimeout(1);
    QCOMPARE(errorOf([&] { engine.Eval(bytes(slow)); }), 18);
    engine.setTimeout(0);
    QCOMPARE(engine.Eval(bytes(slow)).toText(), std::string("-9000"));
}

void tst_Script::scriptControlWrapsEngine()
{
    platform::ScriptControl control;
    QCOMPARE(control.Language(), QStringLiteral("VBScript"));
    QCOMPARE(control.Timeout(), 10000);
    control.ExecuteStatement(QStringLiteral("X=-3"));
    QCOMPARE(control.Eval(QStringLiteral("X^2")).toText(), std::string("9"));
    control.AddCode(QStringLiteral("X=0.5"));
    QCOMPARE(control.Eval(std::string_view("x^2")).toText(), std::string("0.25"));
    QCOMPARE(errorOf([&] { control.Eval(QStringLiteral("X+*2")); }), 1002);
    QCOMPARE(errorOf([&] { control.Eval(QString::fromUtf8("\xce\xa7")); }), 1032);
    control.Reset();
    QCOMPARE(control.Eval("X").type(), VarType::Empty);
}

void tst_Script::ruleColumns()
{
    QTest::addColumn<QByteArray>("statements");
    QTest::addColumn<QByteArray>("expression");
    QTest::addColumn<QString>("text");
    QTest::addColumn<VarType>("type");
    QTest::addColumn<int>("error");
}

void tst_Script::checkRuleRow()
{
    QFETCH(QByteArray, statements);
    QFETCH(QByteArray, expression);
    QFETCH(QString, text);
    QFETCH(VarType, type);
    QFETCH(int, error);
    Engine engine;
    QCOMPARE(errorOf([&] { runAll(engine, statements); }), 0);
    Value v;
    QCOMPARE(errorOf([&] { v = engine.Eval(bytes(expression)); }), error);
    if (error != 0)
        return;
    QCOMPARE(shown(v), text);
    QCOMPARE(v.type(), type);
}

namespace {

// One row of a rule table: no statements, the expression's value.
void valueRow(const char *tag, const char *expression, const char *text, VarType type)
{
    QTest::newRow(tag) << QByteArray() << QByteArray(expression) << QString::fromUtf8(text) << type << 0;
}

void errorRow(const char *tag, const char *expression, int error)
{
    QTest::newRow(tag) << QByteArray() << QByteArray(expression) << QString() << VarType::Empty << error;
}

// After statements, e.g. a variable holding a number.
void rowAfter(const char *tag, const char *statements, const char *expression, const char *text, VarType type,
              int error = 0)
{
    QTest::newRow(tag) << QByteArray(statements) << QByteArray(expression) << QString::fromUtf8(text) << type << error;
}

} // namespace

void tst_Script::operatorSpellings_data()
{
    ruleColumns();
    using T = VarType;
    valueRow("=> is >=", "2 => 1", "True", T::Boolean);
    valueRow("=> on equal values", "2 => 2", "True", T::Boolean);
    valueRow("=> false", "1 => 2", "False", T::Boolean);
    valueRow("=< is <=", "1 =< 2", "True", T::Boolean);
    valueRow("=< false", "3 =< 2", "False", T::Boolean);
    valueRow(">< is <>", "2 >< 1", "True", T::Boolean);
    valueRow(">< on equal values", "2 >< 2", "False", T::Boolean);
    valueRow(">< on text", "\"a\" >< \"b\"", "True", T::Boolean);
    valueRow("spelling without blanks", "X=>0", "True", T::Boolean);
    errorRow("=> needs a left operand", "=> 1", 1002);
    errorRow("== is still an error", "1 == 1", 1002);
}

void tst_Script::radixLiteralSuffix_data()
{
    ruleColumns();
    using T = VarType;
    valueRow("&h10& is the Integer 16", "&h10&", "16", T::Integer);
    valueRow("&hffff& is the Long 65535", "&hffff&", "65535", T::Long);
    valueRow("&hfffe& is the Long 65534", "&hfffe&", "65534", T::Long);
    valueRow("&hffffffff& is the Integer -1", "&hffffffff&", "-1", T::Integer);
    valueRow("&hfffffffe& is the Integer -2", "&hfffffffe&", "-2", T::Integer);
    valueRow("&hfff& is an Integer", "&hfff&", "4095", T::Integer);
    valueRow("&h10000& is a Long", "&h10000&", "65536", T::Long);
    valueRow("&h80000000& is the smallest Long", "&h80000000&", "-2147483648", T::Long);
    valueRow("octal with suffix", "&o17&", "15", T::Integer);
    valueRow("leading zeros with suffix", "&H000000031&", "49", T::Integer);
    valueRow("suffix then operator", "&h10& + 1", "17", T::Integer);
    valueRow("without suffix &hffff stays -1", "&hffff", "-1", T::Integer);
    valueRow("Or between hex literals", "(&h01or&h02)", "3", T::Integer);
    valueRow("& before a name is a join", "\"x\" &hi", "x", T::String);
    errorRow("suffix beyond 32 bits", "&h100000000&", 6);
    errorRow("the suffix ends the literal", "&h10&h20", 1025);
}

void tst_Script::notRightOfComparison_data()
{
    ruleColumns();
    using T = VarType;
    valueRow("1 <> Not 0 = 0", "1 <> Not 0 = 0", "True", T::Boolean);
    valueRow("0 = Not 1 = 1", "0 = Not 1 = 1", "True", T::Boolean);
    valueRow("1 > Not 5 > 3", "1 > Not 5 > 3", "True", T::Boolean);
    valueRow("True <> Not True", "True <> Not True", "True", T::Boolean);
    valueRow("True = Not False", "True = Not False", "True", T::Boolean);
    valueRow("Not on the left still takes the comparison", "Not 1 > 2", "True", T::Boolean);
    valueRow("Not stops at And", "Not False And False = False", "True", T::Boolean);
    valueRow("bitwise Not on the right", "-1 = Not 0", "True", T::Boolean);
    errorRow("Not after + is an error", "1 + Not 0", 1002);
    errorRow("Not after & is an error", "\"a\" & Not 0", 1002);
    errorRow("Not without operand on the right", "1 = Not", 1002);
}

void tst_Script::textAgainstNumbers_data()
{
    ruleColumns();
    using T = VarType;
    // Against a numeric literal the text is read as a number.
    valueRow("text equals a literal", "\"42\" = 42", "True", T::Boolean);
    valueRow("literal equals text", "42 = \"42\"", "True", T::Boolean);
    valueRow("blanks around the number", "\" 5\" = 5", "True", T::Boolean);
    valueRow("trailing blank", "\"5 \" = 5", "True", T::Boolean);
    valueRow("hex text against a literal", "\"&hff\" = 255", "True", T::Boolean);
    valueRow("exponent text", "\"1e2\" = 100", "True", T::Boolean);
    valueRow("ordered numerically", "\"10\" > 9", "True", T::Boolean);
    valueRow("text 0 below 30", "\"0\" < 30", "True", T::Boolean);
    valueRow("parentheses keep a literal", "\"42\" = (42)", "True", T::Boolean);
    errorRow("other text against a literal", "\"abc\" = 5", 13);
    errorRow("empty text against a literal", "\"\" = 5", 13);
    errorRow("literal against other text", "5 > \"abc\"", 13);
    errorRow("hex literal against other text", "\"abc\" = &hff", 13);
    errorRow("Double literal against other text", "\"abc\" = 5.5", 13);
    rowAfter("variable text against a literal", "X=\"5\"", "X = 5", "True", T::Boolean);
    rowAfter("variable text 0 against 30", "X=\"0\"", "X > 30", "False", T::Boolean);
    rowAfter("variable other text against a literal", "X=\"abc\"", "X = 5", "", T::Empty, 13);
    // Against a variable's number or a result: no conversion, no error.
    rowAfter("text literal against a variable", "n=5", "\"abc\" = n", "False", T::Boolean);
    rowAfter("compared as text with a variable", "n=10", "\"010\" = n", "False", T::Boolean);
    rowAfter("same text as the variable", "n=5", "\"5\" = n", "True", T::Boolean);
    valueRow("against a sum", "\"abc\" = (5+0)", "False", T::Boolean);
    valueRow("against a folded sum", "\"010\" = (5+5)", "False", T::Boolean);
    valueRow("against a negated literal", "\"abc\" = -5", "False", T::Boolean);
    valueRow("against a literal with a plus sign", "\"abc\" = +5", "False", T::Boolean);
    valueRow("against CInt", "\"010\" = CInt(10)", "False", T::Boolean);
    valueRow("a Double against text compares as text", "\"10\" > CDbl(5)", "False", T::Boolean);
    valueRow("9 after 10 as text", "\"9\" < CDbl(10)", "False", T::Boolean);
    valueRow("equal as text", "\"5\" = CDbl(5)", "True", T::Boolean);
    valueRow("a Single against text", "\"10\" > CSng(5)", "False", T::Boolean);
    rowAfter("variable text against a variable number", "s=\"10\"|n=5", "s > n", "True", T::Boolean);
    rowAfter("a number sorts before text", "s=\"10\"|n=5", "n < s", "True", T::Boolean);
    // Against a Boolean the text meets the words True and False.
    valueRow("True as a word", "\"True\" = True", "True", T::Boolean);
    valueRow("False as a word", "False = \"False\"", "True", T::Boolean);
    valueRow("the words' case counts", "\"true\" = True", "False", T::Boolean);
    valueRow("no number for a Boolean", "\"-1\" = True", "False", T::Boolean);
    valueRow("ordered as words", "\"abc\" > True", "True", T::Boolean);
    valueRow("empty text is not False", "\"\" = False", "False", T::Boolean);
    valueRow("chain of comparisons", "\"\" = True = False", "True", T::Boolean);
    // Empty and Null keep their rules.
    valueRow("Empty is empty text", "\"\" = Empty", "True", T::Boolean);
    valueRow("Null against text", "\"a\" = Null", "<Null>", T::Null);
}

void tst_Script::logicalOperatorsWithEmptyAndNull_data()
{
    ruleColumns();
    using T = VarType;
    valueRow("Not Empty is a Long", "Not Empty", "-1", T::Long);
    valueRow("Empty And Empty is a Long", "Empty And Empty", "0", T::Long);
    valueRow("Empty Or an Integer", "Empty Or 5", "5", T::Long);
    valueRow("Empty Eqv Empty", "Empty Eqv Empty", "-1", T::Long);
    valueRow("False Imp Empty", "False Imp Empty", "-1", T::Long);
    valueRow("True Imp Empty", "True Imp Empty", "0", T::Long);
    valueRow("False And Null", "False And Null", "False", T::Boolean);
    valueRow("Null And False", "Null And False", "False", T::Boolean);
    valueRow("True And Null", "True And Null", "<Null>", T::Null);
    valueRow("zero And Null keeps Integer", "CInt(0) And Null", "0", T::Integer);
    valueRow("five And Null", "CInt(5) And Null", "<Null>", T::Null);
    valueRow("a Double And Null is not handed back", "0.5 And Null", "0", T::Long);
    valueRow("Empty And Null is not handed back", "Empty And Null", "0", T::Long);
    valueRow("Null Or True", "Null Or True", "True", T::Boolean);
    valueRow("True Or Null", "True Or Null", "True", T::Boolean);
    valueRow("False Or Null", "False Or Null", "<Null>", T::Null);
    valueRow("Empty Or Null", "Empty Or Null", "<Null>", T::Null);
    valueRow("all bits Or Null", "-1 Or Null", "-1", T::Integer);
    valueRow("all bits of a Long Or Null", "CLng(-1) Or Null", "-1", T::Long);
    valueRow("a Double rounding to -1 Or Null", "-0.6 Or Null", "-1", T::Long);
    valueRow("Null Or an Integer is the Integer", "Null Or CInt(1)", "1", T::Integer);
    valueRow("an Integer Or Null is the Integer", "1 Or Null", "1", T::Integer);
    valueRow("Null Or a Long", "Null Or CLng(65536)", "65536", T::Long);
    valueRow("a Double rounding to 1 Or Null", "0.6 Or Null", "1", T::Long);
    valueRow("Null Or 0 stays Null", "Null Or 0", "<Null>", T::Null);
    valueRow("Null Xor True", "Null Xor True", "<Null>", T::Null);
    valueRow("Integer Eqv Null", "5 Eqv Null", "<Null>", T::Null);
    valueRow("False Imp Null", "False Imp Null", "True", T::Boolean);
    valueRow("Empty Imp Null", "Empty Imp Null", "-1", T::Long);
    valueRow("Null Imp True", "Null Imp True", "True", T::Boolean);
    valueRow("True Imp Null", "True Imp Null", "<Null>", T::Null);
    valueRow("Null Imp Empty", "Null Imp Empty", "<Null>", T::Null);
    valueRow("Null And Null", "Null And Null", "<Null>", T::Null);
    valueRow("Not of a Boolean word", "Not \"#FALSE#\"", "True", T::Boolean);
    valueRow("Not of numeric text", "Not \"5\"", "-6", T::Long);
    errorRow("Not of other text", "Not \"abc\"", 13);
    errorRow("other text And Null", "\"abc\" And Null", 13);
}

void tst_Script::singleValues_data()
{
    ruleColumns();
    using T = VarType;
    valueRow("Rnd is a Single of 7 digits", "Rnd", "0.7055475", T::Single);
    valueRow("Rnd(0) repeats the seed", "Rnd(0)", "0.01953125", T::Single);
    valueRow("CSng", "CSng(0.1)", "0.1", T::Single);
    valueRow("CSng of text", "CSng(\"-1.5\")", "-1.5", T::Single);
    valueRow("CSng of True", "CSng(True)", "-1", T::Single);
    valueRow("CSng of Empty", "CSng(Empty)", "0", T::Single);
    valueRow("7 digits then exponent form", "CSng(12345678)", "1.234568E+07", T::Single);
    valueRow("7 digits in full", "CSng(1234567)", "1234567", T::Single);
    valueRow("small Single", "CSng(0.00001)", "1E-05", T::Single);
    valueRow("smallest fixed-form Single", "CSng(0.0001)", "0.0001", T::Single);
    valueRow("Single + Single", "CSng(1) + CSng(2)", "3", T::Single);
    valueRow("Single + Integer stays Single", "CSng(0.1) + 1", "1.1", T::Single);
    valueRow("Single * Integer", "CSng(0.1) * 2", "0.2", T::Single);
    valueRow("Single + Long widens to Double", "CSng(0.1) + CLng(1)", "1.10000000149012", T::Double);
    valueRow("Single + Double is Double", "CSng(0.1) + 0.5", "0.600000001490116", T::Double);
    valueRow("Single overflow widens to Double", "CSng(3E+38) * 10", "3.00000000549776E+39", T::Double);
    valueRow("Single / Integer is Single", "CSng(1) / 4", "0.25", T::Single);
    valueRow("Single / Single", "CSng(1) / CSng(3)", "0.3333333", T::Single);
    valueRow("Integer / Single", "1 / CSng(3)", "0.3333333", T::Single);
    valueRow("Rnd / Integer", "Rnd(1) / 2", "0.3527738", T::Single);
    valueRow("Single / Boolean", "CSng(1) / True", "-1", T::Single);
    valueRow("Empty / Single", "Empty / CSng(2)", "0", T::Single);
    valueRow("Single / Long is Double", "CSng(1) / CLng(3)", "0.333333333333333", T::Double);
    valueRow("Single / Double is Double", "CSng(1) / 0.5", "2", T::Double);
    valueRow("Integer / Integer is Double", "1 / 3", "0.333333333333333", T::Double);
    valueRow("Single quotient beyond its range is Double", "CSng(3E+38) / CSng(0.1)", "2.99999996079427E+39", T::Double);
    errorRow("Single / Empty", "CSng(1) / Empty", 11);
    rowAfter("Single of X / 3", "X=2", "CSng(X) / 3", "0.6666667", T::Single);
    valueRow("negated Single", "-CSng(2.5)", "-2.5", T::Single);
    valueRow("Abs keeps Single", "Abs(CSng(-0.5))", "0.5", T::Single);
    valueRow("Int keeps Single", "Int(CSng(-2.5))", "-3", T::Single);
    valueRow("Round keeps Single", "Round(CSng(2.5))", "2", T::Single);
    valueRow("Sgn of Single", "Sgn(CSng(-0.5))", "-1", T::Integer);
    valueRow("Sqr of Single", "Sqr(CSng(121))", "11", T::Double);
    valueRow("Single \\ gives Long", "CSng(7.5) \\ 2", "4", T::Long);
    valueRow("Single And", "CSng(2.5) And 3", "2", T::Long);
    valueRow("Single equals Integer", "CSng(1) = 1", "True", T::Boolean);
    valueRow("Single 0.1 is not Double 0.1", "CSng(0.1) = 0.1", "False", T::Boolean);
    valueRow("Single as text", "CSng(0.1) & \"\"", "0.1", T::String);
    errorRow("CSng overflow", "CSng(1E+39)", 6);
    errorRow("CSng of other text", "CSng(\"abc\")", 13);
    errorRow("CSng of empty text", "CSng(\"\")", 13);
    errorRow("CSng of a Boolean word", "CSng(\"#TRUE#\")", 13);
    errorRow("CSng of Null", "CSng(Null)", 94);
    rowAfter("a variable keeps Single", "s=CSng(1.5)", "s * 2", "3", T::Single);
}

void tst_Script::conversionsKeepTheirType_data()
{
    ruleColumns();
    using T = VarType;
    valueRow("Round(True) keeps Boolean", "Round(True)", "True", T::Boolean);
    valueRow("Round(False, 1) keeps Boolean", "Round(False, 1)", "False", T::Boolean);
    valueRow("Round of text is Double", "Round(\"2.5\")", "2", T::Double);
    valueRow("CBool of #TRUE#", "CBool(\"#TRUE#\")", "True", T::Boolean);
    valueRow("CBool of #FALSE#", "CBool(\"#FALSE#\")", "False", T::Boolean);
    valueRow("CBool of #true# in any case", "CBool(\"#true#\")", "True", T::Boolean);
    valueRow("CBool of TRUE", "CBool(\"TRUE\")", "True", T::Boolean);
    errorRow("CBool of empty text", "CBool(\"\")", 13);
    errorRow("CBool of a half-marked word", "CBool(\"#TRUE\")", 13);
    errorRow("CDbl of #TRUE#", "CDbl(\"#TRUE#\")", 13);
    errorRow("CInt of TRUE", "CInt(\"TRUE\")", 13);
}

void tst_Script::callsNeedParentheses_data()
{
    ruleColumns();
    errorRow("Abs 1", "Abs 1", 1025);
    errorRow("Sin X)", "Sin X)", 1025);
    errorRow("inside a sum", "1 + Abs 1", 1025);
    errorRow("Rnd with a bare argument", "Rnd 1", 1025);
    errorRow("a syntax error wins over the argument count", "Sin(1, 2) +", 1002);
    errorRow("a syntax error wins over an unknown function", "Foo(1) *", 1002);
    errorRow("no arguments at all is the argument count", "Sin", 450);
    errorRow("Sin with parentheses but none inside", "Sin()", 450);
}

// The listing of the compiled form shows how the table's precedences and forms parsed.
void tst_Script::compiledFormFollowsTheTable_data()
{
    QTest::addColumn<QByteArray>("expression");
    QTest::addColumn<QString>("listing");

    QTest::newRow("product") << QByteArray("X*2") << "LoadName x|Const 2|Multiply";
    QTest::newRow("sign before power") << QByteArray("-X^2") << "LoadName x|Negate|Const 2|Power";
    QTest::newRow("power before product") << QByteArray("2*X^3") << "Const 2|LoadName x|Const 3|Power|Multiply";
    QTest::newRow("left-associative") << QByteArray("X-1-2") << "LoadName x|Const 1|Subtract|Const 2|Subtract";
    QTest::newRow("Mod below \\") << QByteArray("X Mod 5\\2") << "LoadName x|Const 2|Modulo";
    QTest::newRow("text literal on the left") << QByteArray("\"a\" = X") << "Const a|LoadName x|Equal (text literal left)";
    QTest::newRow("number literal on the right") << QByteArray("X >= 1") << "LoadName x|Const 1|GreaterEqual (number literal right)";
    QTest::newRow("alternative spelling") << QByteArray("X => 1") << "LoadName x|Const 1|GreaterEqual (number literal right)";
    QTest::newRow("Not right of a comparison")
        << QByteArray("1 <> Not X = 0")
        << "Const 1|LoadName x|Const 0|Equal (number literal right)|Not|NotEqual (number literal left)";
    QTest::newRow("constants folded") << QByteArray("2^3+X") << "Const 8|LoadName x|Add";
    QTest::newRow("a call") << QByteArray("Sin(X)") << "LoadName x|Call Sin/1";
}

void tst_Script::compiledFormFollowsTheTable()
{
    QFETCH(QByteArray, expression);
    QFETCH(QString, listing);
    const script::Program program = script::Compiler::compileExpression(bytes(expression));
    QString dump = QString::fromStdString(program.dump());
    dump.chop(1);
    QCOMPARE(dump.replace('\n', '|'), listing);
}

void tst_Script::rndShowsSevenDigits()
{
    Engine engine;
    for (int i = 0; i < 200; ++i) {
        const Value v = engine.Eval("Rnd");
        QCOMPARE(v.type(), VarType::Single);
        const std::string text = v.toText();
        std::size_t digits = 0;
        for (const char c : text.substr(0, text.find('E')))
            digits += c >= '1' && c <= '9' ? 1 : (c == '0' && digits > 0 ? 1 : 0);
        QVERIFY2(digits <= 7, text.c_str());
        QVERIFY2(std::fabs(std::stod(text) - v.toDouble()) <= v.toDouble() * 5e-7, text.c_str());
    }
}

void tst_Script::timeLimitCoversReading()
{
    Engine engine;
    engine.setClock(&slowClock);
    const std::string longSum = QByteArray("1+").repeated(20000).toStdString() + "1";
    QCOMPARE(errorOf([&] { engine.Eval(longSum); }), 18);
    QCOMPARE(errorOf([&] { engine.ExecuteStatement("X=" + longSum); }), 18);
    // The limit is the clock's verdict, not the text's: with time to spare it reads.
    engine.setTimeout(0);
    QCOMPARE(engine.Eval(longSum).toText(), std::string("20001"));
    engine.setTimeout(10000);
    engine.setClock(&script::Deadline::Clock::now);
    QCOMPARE(engine.Eval(longSum + "+1").toText(), std::string("20002"));
}

// Texts of the greatest accepted length are read and evaluated (the bench shows how fast).
void tst_Script::textsAtTheLengthLimit_data()
{
    QTest::addColumn<QByteArray>("expression");
    QTest::addColumn<int>("resultLength");

    QByteArray quotes = "\"" + QByteArray("\"\"").repeated(32766) + "\"";
    QTest::newRow("literal of quote pairs") << quotes << 32766;
    QByteArray chain = "\"a\"" + QByteArray("&\"a\"").repeated(16383);
    QTest::newRow("chain of &") << chain << 16384;
    QByteArray sums = "\"ab\"" + QByteArray("+\"ab\"").repeated(13106);
    QTest::newRow("chain of + on text") << sums << 26214;
    QByteArray variables = "s" + QByteArray("&s").repeated(32767);
    QTest::newRow("chain of & on a variable") << variables << 32768;
}

void tst_Script::textsAtTheLengthLimit()
{
    QFETCH(QByteArray, expression);
    QFETCH(int, resultLength);
    QVERIFY(std::size_t(expression.size()) <= Engine::kMaxTextLength);
    Engine engine;
    engine.ExecuteStatement("s=\"a\"");
    const Value v = engine.Eval(bytes(expression));
    QCOMPARE(v.type(), VarType::String);
    QCOMPARE(int(v.stringValue().size()), resultLength);
}

QTEST_APPLESS_MAIN(tst_Script)
#include "tst_script.moc"
