// The tabulation run behind the Evaluate button.
#include "main/frmMain.h"

#include "calc/modCalc.h"
#include "calc/modGrid.h"
#include "platform/Accessibility.h"
#include "platform/Conversions.h"
#include "platform/FlexGrid.h"
#include "platform/Program.h"
#include "platform/TextBox.h"

#include <climits>
#include <cmath>

namespace {

// Above every accepted count: what CountSteps answers when the quotient has no 32-bit value.
constexpr int OutOfRange = INT_MAX;

double rangeValue(const platform::TextBox *box)
{
    return platform::LeadingNumber(box->text().trimmed());
}

} // namespace

bool frmMain::ValidateRange()
{
    struct Check {
        bool failed;
        platform::TextBox *focus;
        const char *message;
    };
    const Check checks[] = {
        {txtFrom->text().isEmpty(), txtFrom, "Please enter value a for {Start:} before proceeding."},
        {txtTo->text().isEmpty(), txtTo, "Please enter value a for {End:} before proceeding."},
        {txtInc->text().isEmpty(), txtInc, "Please enter value a for {Inc:} before proceeding."},
    };
    for (const Check &c : checks) {
        if (c.failed) {
            c.focus->SetFocus();
            platform::MsgBoxCritical(this, QLatin1String(c.message), platform::MessageTitle());
            return false;
        }
    }
    if (!(platform::LeadingNumber(txtFrom->text()) < platform::LeadingNumber(txtTo->text()))) {
        txtFrom->SetFocus();
        platform::MsgBoxCritical(this, QStringLiteral("{Start} value must be less then {End:} value."),
                                 platform::MessageTitle());
        return false;
    }
    return true;
}

// (End - Start) / Inc rounded to the nearest 32-bit integer, halves to the even one.
// A quotient with no 32-bit value (Inc 0 among them) gives OutOfRange.
int frmMain::CountSteps(double start, double end, double inc)
{
    const double quotient = (end - start) / inc;
    if (!std::isfinite(quotient))
        return OutOfRange;
    const double rounded = std::nearbyint(quotient);  // default rounding: ties to even
    if (rounded > static_cast<double>(INT_MAX) || rounded < static_cast<double>(INT_MIN))
        return OutOfRange;
    return static_cast<int>(rounded);
}

void frmMain::cmdEvaluate_Click()
{
    // A press during a run starts a run that replaces it, up to a bounded depth.
    const platform::NestedRun nested(m_runDepth);
    if (!nested.admitted())
        return;
    if (!ValidateRange())
        return;

    // The places as they are when the run starts.
    const int decimals = m_decimalPlaces;

    for (int n = 0; n < platform::EquationCount; ++n) {
        if (!txtFunc[n]->text().isEmpty())
            modCalc::SetEquation(n, txtFunc[n]->text());
    }

    const double start = rangeValue(txtFrom);
    const double end = rangeValue(txtTo);
    const double inc = rangeValue(txtInc);

    // A negative step would never reach End from a Start below it.
    if (inc < 0) {
        txtInc->SetFocus();
        platform::MsgBoxCritical(this, QStringLiteral("{Inc:} value must be greater than zero."), platform::MessageTitle());
        return;
    }

    const int count = CountSteps(start, end, inc);
    if (count > modGrid::ReadingLimit) {
        platform::MsgBoxCritical(this,
                                 QStringLiteral("Too many readings!\r\nIncrease {Inc:} value or\r\n"
                                                "Decrase {Start:} and {End:} values."),
                                 platform::MessageTitle());
        return;
    }

    modGrid::SetGridRows(count);

    // A newer run replaces this one: it stops at its next yield.
    const unsigned runId = ++m_runId;
    int row = 1;
    double x = start;
    platform::PatternBuffer text;
    // The row bound also ends a run whose X no longer advances (Inc far below X's precision).
    while (x <= end) {
        platform::DoEvents();
        if (platform::ProgramEnding() || runId != m_runId)
            return;
        if (row >= msGrid->Rows())
            break;
        modGrid::SetCell(row, 0, platform::FormatPattern(x, decimals, text));
        modGrid::GridAction(2);
        for (int n = 0; n < platform::EquationCount; ++n) {
            if (txtFunc[n]->text().isEmpty())
                continue;
            modGrid::SetCell(row, n + 1, modCalc::CellText(n, x, decimals, text));
            modGrid::GridAction(2);
        }
        x += inc;
        ++row;
    }
    platform::AnnounceRunEnd(this, platform::Counted(row - 1, "reading tabulated", "readings tabulated"));
}
