#include "measured_frame.h"

#include "sheet_formats.h"

#include <gtest/gtest.h>

TEST(AutoFrameForHeads, FramesTheFirstHeadAndSaysWhatWasFound)
{
    const THead first{100, 400, 300, 250};
    const THead second{50, 150, 600, 100};
    const THeadRule& rule = HeadRule(TPhotoFormat::France35x45);
    const TWording marked = [](const QString& original) { return QStringLiteral("<%1>").arg(original); };
    struct TCase {
        std::vector<THead> Heads;
        bool Framed;
        QString Message;
    };
    const TCase cases[] = {
        {{}, false, QStringLiteral("<%1>").arg(QLatin1String(kNoFaceText))},
        {{first}, true, QString()},
        {{first, second}, true, QStringLiteral("<%1>").arg(QLatin1String(kSeveralHeadsText)).arg(2)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Heads.size());
        const TAutoFrame result = AutoFrameForHeads(c.Heads, rule, marked);
        EXPECT_EQ(result.FacesFound, static_cast<int>(c.Heads.size()));
        EXPECT_EQ(result.Message, c.Message);
        ASSERT_EQ(result.Frame.has_value(), c.Framed);
        if (c.Framed) {
            EXPECT_EQ(*result.Frame, *FrameForHead(first, rule));
        }
    }
}
