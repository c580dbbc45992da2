#include "measured_frame.h"

TAutoFrame AutoFrameForHeads(const std::vector<THead>& Heads, const THeadRule& Rule, const TWording& Wording)
{
    auto wording = [&Wording](const char* original) {
        const QString text = QString::fromLatin1(original);
        return Wording ? Wording(text) : text;
    };
    TAutoFrame result;
    result.FacesFound = static_cast<int>(Heads.size());
    if (Heads.empty()) {
        result.Message = wording(kNoFaceText);
        return result;
    }
    result.Head = Heads.front();
    result.Frame = FrameForHead(Heads.front(), Rule);
    if (Heads.size() > 1)
        result.Message = wording(kSeveralHeadsText).arg(Heads.size());
    return result;
}
