#include "measure.h"

#include <algorithm>

const char* VerdictName(TVerdict Verdict)
{
    switch (Verdict) {
    case TVerdict::Pass:
        return "pass";
    case TVerdict::Warn:
        return "warn";
    case TVerdict::Fail:
        return "fail";
    }
    return "fail";
}

int CountVerdict(const TMeasures& Measures, TVerdict Verdict)
{
    return static_cast<int>(
        std::count_if(Measures.begin(), Measures.end(), [&](const TMeasure& m) { return m.Verdict == Verdict; }));
}

TVerdict VerdictAtMost(double Value, double Pass, double Warn)
{
    if (Value <= Pass)
        return TVerdict::Pass;
    return Value <= Warn ? TVerdict::Warn : TVerdict::Fail;
}

TVerdict VerdictAtLeast(double Value, double Pass, double Warn)
{
    if (Value >= Pass)
        return TVerdict::Pass;
    return Value >= Warn ? TVerdict::Warn : TVerdict::Fail;
}
