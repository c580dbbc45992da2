#pragma once

#include <QString>

#include <vector>

/// What the check says of one measure: it passes, the user should look at
/// it, or an office would refuse the photo for it.
enum class TVerdict { Pass, Warn, Fail };

/// One line of the photo check.
struct TMeasure {
    /// Stable name, the same in every language ("roll", "background_plain").
    QString Id;
    /// The value on this photo and frame, in the unit of Limit.
    double Value = 0;
    /// The limit as the user reads it ("8°", "≥ 300 ppi").
    QString Limit;
    TVerdict Verdict = TVerdict::Pass;
    /// One plain sentence: what was seen, and what to do when it does not pass.
    QString Text;
};

using TMeasures = std::vector<TMeasure>;

/// "pass", "warn" or "fail", as the command line's JSON writes them.
const char* VerdictName(TVerdict Verdict);

/// How many measures have the verdict.
int CountVerdict(const TMeasures& Measures, TVerdict Verdict);

/// The verdict of a value against two limits, when larger values are worse:
/// passes up to Pass, to be looked at up to Warn, fails beyond.
TVerdict VerdictAtMost(double Value, double Pass, double Warn);
/// The same when smaller values are worse: passes from Pass up, to be looked
/// at from Warn up, fails below.
TVerdict VerdictAtLeast(double Value, double Pass, double Warn);
