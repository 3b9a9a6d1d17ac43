#include "info/diaHelp.h"

#include "platform/Colours.h"
#include "platform/Controls.h"
#include "platform/Equations.h"
#include "platform/Program.h"
#include "platform/TextBox.h"

#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <array>
#include <span>

namespace {

using platform::DesignFont;
using platform::Typeface;

const QString CRLF = QStringLiteral("\r\n");
using platform::LightBlue;

QFont sans(qreal points, int style = platform::Plain)
{
    return DesignFont(Typeface::SansSerif, points, style);
}

// One row of a reference table: symbol, explanation, example.
struct TableRow {
    const char *symbol;
    const char *explanation;
    const char *example;
};

constexpr TableRow Operators[] = {
    {"^", "Exponent", "X^2 or X^-3"}, {"-", "Negation", "-X"}, {"*", "Multiply", "2*X"},
    {"/", "Divide", "X/2"},           {"+", "Add", "X+2"},     {"-", "Subtract", "X-5"},
};

constexpr TableRow Functions[] = {
    {"Abs", "Absolute", "Abs(X)"},      {"Atn", "Arctangent", "Atn(X)"},   {"Cos", "Cosine", "Cos(X)"},
    {"Exp", "e raised to X", "Exp(X)"}, {"Fix", "Integer of X", "Fix(X)"}, {"Int", "Integer of X", "Int(X)"},
    {"Log", "Log of X", "Log(X)"},      {"Rnd", "Random No", "Rnd(X)"},    {"Sgn", "-1,0,1", "Sgn(X)"},
    {"Sin", "Sine", "Sin(X)"},          {"Sqr", "Square Root", "Sqr(X)"},  {"Tan", "Tangent", "Tan(X)"},
};

// A column's text: an empty first line, then one entry per row, so that row k stands on
// line k + 1 of each of the table's three columns.
QString column(std::span<const TableRow> rows, const char *TableRow::*field)
{
    QString text;
    for (const TableRow &row : rows)
        text += CRLF + QLatin1String(row.*field);
    return text;
}

// A white header label over a table column.
QLabel *header(QWidget *parent, const QString &name, const QString &caption, platform::TwipsBox box)
{
    QLabel *label = platform::MakeLabel(parent, name, caption, box);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    platform::SetBackColor(label, platform::White);
    return label;
}

// A light blue multi-line column, filled when the dialog becomes active. The three columns
// of a table share font, top and alignment, so their lines stand at the same heights.
QLabel *tableColumn(QWidget *parent, const QString &name, platform::TwipsBox box)
{
    QLabel *label = platform::MakeLabel(parent, name, QString(), box, sans(9.75));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    platform::SetBackColor(label, LightBlue);
    return label;
}

// One column of a help table: its header label and its column label, with their names.
struct TableColumn {
    QLabel *&header;
    const char *headerName;
    QLabel *&column;
    const char *columnName;
};

// A table at the top of the frame: the headers "Symbol", "Explanation" and "Example", their
// columns below them, height twips high, and the whole read by screen readers as a table.
void makeTable(QGroupBox *frame, int height, std::array<TableColumn, 3> columns)
{
    struct Place {
        const char *caption;
        int left, width;
    };
    constexpr Place places[] = {{"Symbol", 120, 735}, {"Explanation", 1080, 1215}, {"Example", 2520, 1215}};
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const Place &p = places[i];
        columns[i].header = header(frame, QLatin1String(columns[i].headerName), QLatin1String(p.caption),
                                   {p.left, 360, p.width, 255});
        columns[i].column = tableColumn(frame, QLatin1String(columns[i].columnName), {p.left, 615, p.width, height});
    }
    // Screen readers read each table row by row under its headers, not as six labels.
    platform::ShowTable(frame, {columns[0].header, columns[1].header, columns[2].header},
                        {columns[0].column, columns[1].column, columns[2].column});
}

// A plain label that takes the size of its caption, its top-left corner kept.
QLabel *autoSized(QWidget *parent, const QString &name, const QString &caption, platform::TwipsBox box)
{
    QLabel *label = platform::MakeLabel(parent, name, caption, box, sans(9.75));
    label->adjustSize();
    return label;
}

// A white bordered label that looks like an entry field of the main window.
QLabel *field(QWidget *parent, const QString &name, const QString &caption, platform::TwipsBox box,
              Qt::Alignment alignment)
{
    QLabel *label = platform::MakeLabel(parent, name, caption, box);
    label->setAlignment(alignment | Qt::AlignVCenter);
    platform::SetBackColor(label, platform::White);
    SetSingleBorder(label);
    return label;
}

// Frames keep the standard dialog colour on the white form.
QGroupBox *frame(QWidget *parent, const QString &name, const QString &caption, platform::TwipsBox box,
                 const QFont &font)
{
    QGroupBox *fra = platform::MakeFrame(parent, name, caption, box, font);
    platform::SetBackColor(fra, QApplication::palette().color(QPalette::Window));
    return fra;
}

} // namespace

diaHelp::diaHelp()
    : InfoDialog(QStringLiteral("diaHelp"), QStringLiteral("Formula Tutor"), 10755, 8190, false)
{
    platform::SetBackColor(this, platform::White);

    lblTitle = platform::MakeLabel(this, "lblTitle", QString(), {120, 240, 8415, 855}, sans(9.75));
    lblTitle->setWordWrap(true);
    platform::SetBackColor(lblTitle, platform::White);
    cmdExit = platform::MakeButton(this, "cmdExit", "E&xit", {9000, 240, 1215, 375});

    fraOperators = frame(this, "fraOperators", "Legal operators in order of precedence:",
                         {120, 1320, 3855, 2655}, sans(9.75));
    makeTable(fraOperators, 1815,
              {{{lblOpsSym, "lblOpsSym", lblOpsSymbol, "lblOpsSymbol"},
                {lblOpsExpl, "lblOpsExpl", lblOpsExplanation, "lblOpsExplanation"},
                {lblOpsExm, "lblOpsExm", lblOpsExample, "lblOpsExample"}}});

    fraFunctions = frame(this, "fraFunctions", "Built In Functions:", {120, 4080, 3855, 3975}, sans(9.75));
    makeTable(fraFunctions, 3240,
              {{{Label4, "Label4", lblFuncSymbol, "lblFuncSymbol"},
                {Label5, "Label5", lblFuncExplanation, "lblFuncExplanation"},
                {Label6, "Label6", lblFuncExample, "lblFuncExample"}}});

    fraExamples = frame(this, "fraExamples", "Examples", {4200, 1320, 6375, 6735}, sans(9.75));
    lblDescription = platform::MakeLabel(fraExamples, "lblDescription", QString(), {360, 600, 5655, 2175},
                                         sans(12));
    lblDescription->setWordWrap(true);
    platform::SetBackColor(lblDescription, platform::White);

    fraValues = platform::MakeFrame(fraExamples, "fraValues", QLatin1String(platform::ValuesCaption),
                                    {120, 3000, 2295, 1695}, sans(9.75, platform::Bold));
    lblFrom_1 = autoSized(fraValues, "lblFrom_1", "Start:", {315, 360, 450, 240});
    lbl_1 = field(fraValues, "lbl_1", "-10", {840, 360, 1215, 255}, Qt::AlignRight);
    lblTo_1 = autoSized(fraValues, "lblTo_1", "End:", {360, 840, 405, 240});
    lbl_2 = field(fraValues, "lbl_2", "10", {840, 840, 1215, 255}, Qt::AlignRight);
    lblInc = autoSized(fraValues, "lblInc", "Inc:", {465, 1320, 300, 240});
    txtInc = platform::MakeTextBox(fraValues, "txtInc", {840, 1320, 1245, 285}, platform::DefaultFont(),
                                   Qt::AlignRight);
    txtInc->setText(QStringLiteral(".1"));
    platform::LabelFields({{lblInc, txtInc}});

    fra_1 = platform::MakeFrame(fraExamples, "fra_1", QLatin1String(platform::FunctionsCaption),
                                {120, 4800, 6015, 1335}, sans(9.75, platform::Bold));
    lblEqua_1 = platform::MakeLabel(fra_1, "lblEqua_1", platform::EquationCaption(0), {240, 240, 1095, 255}, sans(9.75));
    lbl_3 = field(fra_1, "lbl_3", "(X^2)-(5*X)+3", {1560, 240, 4335, 285}, Qt::AlignLeft);
    lblEqua_2 = platform::MakeLabel(fra_1, "lblEqua_2", platform::EquationCaption(1), {240, 600, 1095, 255}, sans(9.75));
    lbl_4 = field(fra_1, "lbl_4", "(X^-3)*Sin(X)", {1560, 600, 4335, 285}, Qt::AlignLeft);
    lblEqua_3 = platform::MakeLabel(fra_1, "lblEqua_3", platform::EquationCaption(2), {240, 960, 1095, 255}, sans(9.75));
    lbl_5 = field(fra_1, "lbl_5", "X/2+5", {1560, 960, 4335, 285}, Qt::AlignLeft);

    // Exit first, then the example's Inc box; Exit has the focus at opening.
    QWidget::setTabOrder(cmdExit, txtInc);
    cmdExit->setFocus();

    connect(cmdExit, &QPushButton::clicked, this, &diaHelp::cmdExit_Click);
}

bool diaHelp::event(QEvent *event)
{
    if (platform::BecameActive(this, event))
        Form_Activate();
    return InfoDialog::event(event);
}

void diaHelp::Form_Activate()
{
    platform::MoveForm(this, 0, 0);
    lblTitle->setText(QStringLiteral("Following are the rules and some examples.") + CRLF + CRLF
                      + QStringLiteral("Equations must be entered using an X (or x) as the argument. ")
                      + QStringLiteral("For example: 5*Sin(X)."));
    lblOpsSymbol->setText(column(Operators, &TableRow::symbol));
    lblOpsExplanation->setText(column(Operators, &TableRow::explanation));
    lblOpsExample->setText(column(Operators, &TableRow::example));
    lblFuncSymbol->setText(column(Functions, &TableRow::symbol));
    lblFuncExplanation->setText(column(Functions, &TableRow::explanation));
    lblFuncExample->setText(column(Functions, &TableRow::example));
    const QString line1 = QStringLiteral("   X^2 -5X + 3  ") + QStringLiteral("  {X Squared minus 5 X plus 3}");
    const QString line2 = QStringLiteral("   X^-3 * Sin(X)  ") + QStringLiteral("{One over X qubed times Sine of X}");
    const QString line3 = QStringLiteral("   X/2 + 5  ") + QStringLiteral("          {One half of X plus 5}");
    lblDescription->setText(QStringLiteral("The following illustrates entries for these equations:") + CRLF + CRLF
                            + line1 + CRLF + line2 + CRLF + line3 + CRLF + CRLF
                            + QStringLiteral("   For X equal -10 to 10."));
}

void diaHelp::cmdExit_Click()
{
    accept();
}
