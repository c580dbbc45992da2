#pragma once

#include <QString>

#include <limits>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

/// What the check says of one measure: it passes, the user should look at
/// it, or an office would refuse the photo for it.
enum class TVerdict { Pass, Warn, Fail };

/// A closed band of values; an open side is infinite.
struct TBand {
    double Low = -std::numeric_limits<double>::infinity();
    double High = std::numeric_limits<double>::infinity();

    constexpr bool Contains(double Value) const { return Value >= Low && Value <= High; }
    constexpr bool operator==(const TBand&) const = default;
};

/// Bands open on one side: values up to High, values from Low.
constexpr TBand AtMost(double High)
{
    return {-std::numeric_limits<double>::infinity(), High};
}
constexpr TBand AtLeast(double Low)
{
    return {Low, std::numeric_limits<double>::infinity()};
}
/// Values within Limit of 0 either way (a turn, an offset).
constexpr TBand Within(double Limit)
{
    return {-Limit, Limit};
}

/// Which way a measure goes wrong.
enum class TDirection { AtMost, AtLeast, Within };

struct TCheckInput;
struct TMeasure;
struct TMeasureRow;

/// Reads one measure for a photo and frame: its value (none when it cannot
/// be judged there), verdict and sentence. Returns false when the measure
/// does not apply (an eye line for a format without one).
using TMeasureReader = bool (*)(const TCheckInput& Input, const TMeasureRow& Row, TMeasure& Measure);

/// One row of the table of measures: what is measured, which values pass,
/// which are to be looked at (the limit's last stretch, or where the
/// measurement itself is unsure; every value beyond fails), and where those
/// limits come from. Bands of a format's rule come from the rule
/// (FromRule), the row's own being empty then.
struct TMeasureRow {
    /// Stable name, the same in every language ("roll", "background_plain").
    std::string_view Id;
    /// What it measures, a message of the catalogue ("Head tilt").
    const char* Name;
    TBand Pass;
    TBand LookAt;
    /// The value's unit as printed after a number ("°", "L*", "%"); may be empty.
    const char* Unit;
    /// Decimals the value is given with.
    int Decimals;
    /// Where the limits come from, a message of the catalogue.
    const char* Source;
    TMeasureReader Read;
    bool FromRule = false;

    TDirection Direction() const;
};

/// Every measure, in the order the check lists them.
std::span<const TMeasureRow> MeasureTable();
/// The row of a measure; null for an unknown id.
const TMeasureRow* FindMeasureRow(QStringView Id);

/// One line of the photo check.
struct TMeasure {
    /// The row's id.
    QString Id;
    /// The value on this photo and frame, in the row's unit; none when the
    /// photo does not let it be judged (Text says why; the verdict is Warn).
    std::optional<double> Value;
    /// The limit as the user reads it ("± 8°", "≥ 300 ppi").
    QString Limit;
    TVerdict Verdict = TVerdict::Pass;
    /// One plain sentence: what was seen, and what to do when it does not pass.
    QString Text;
    /// The row it was read by, the bands it was judged against and the
    /// value's unit (the row's, or the rule's for a length of the rule).
    const TMeasureRow* Row = nullptr;
    TBand Pass;
    TBand LookAt;
    const char* Unit = "";
    /// Where the limits come from, in the catalogue's language: the row's
    /// source, or the office's page where the limits are a document's.
    QString Source;
};

using TMeasures = std::vector<TMeasure>;

/// "pass", "warn" or "fail", as the command line's JSON writes them.
const char* VerdictName(TVerdict Verdict);

/// How many measures have the verdict.
int CountVerdict(const TMeasures& Measures, TVerdict Verdict);

/// The verdict of a value: Pass inside Pass, Warn inside LookAt, Fail beyond.
TVerdict Judge(double Value, const TBand& Pass, const TBand& LookAt);

/// A band as the user reads it: "≤ 8°", "≥ 300 ppi", "± 5 %", "45-88 L*".
QString BandText(const TBand& Band, const char* Unit);

/// The row of a measure in the catalogue's language, for a tip beside the
/// measure: what it measures, its value, which values pass and which are
/// to be looked at, and the limits' source (the measure's own).
QString MeasureDescription(const TMeasure& Measure);
