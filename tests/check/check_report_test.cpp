#include "check_report.h"

#include "photo_check.h"
#include "sheet_formats.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

// A measure the photo lets be judged gives its value and where its limits
// come from; one it does not gives null in the JSON and a dash in the table,
// and says why.
TEST(CheckReport, EachMeasureGivesItsSourceAndNullWhereItCannotBeJudged)
{
    const THeadRule& rule = HeadRule(TPhotoFormat::France35x45);
    TPhotoFacts facts;
    facts.PhotoWidth = 3000;
    facts.PhotoHeight = 4000;
    facts.Head = {1000, 1600, 1500, 1300};
    facts.Faces = {QRectF(1250, 1100, 500, 500)};
    TPhotoMeasures measured;
    measured.HasFace = true;
    measured.Pose.Roll = 3;
    measured.EyePixels = 250;
    const TMeasures measures = CheckPhoto(facts, measured, *FrameForHead(facts.Head, rule), rule);

    const QJsonArray json = QJsonDocument::fromJson(CheckJson(measures, &facts.Head)).object()[u"measures"].toArray();
    ASSERT_EQ(json.size(), static_cast<qsizetype>(measures.size()));
    QJsonObject roll, sharpness;
    for (const QJsonValue& m : json) {
        EXPECT_FALSE(m[u"source"].toString().isEmpty()) << m[u"id"].toString().toStdString();
        if (m[u"id"] == QLatin1String("roll"))
            roll = m.toObject();
        if (m[u"id"] == QLatin1String("sharpness"))
            sharpness = m.toObject();
    }
    EXPECT_EQ(roll[u"value"].toDouble(), 3);
    EXPECT_EQ(roll[u"source"].toString(), QStringLiteral("ISO/IEC 19794-5, best practice for a frontal portrait"));
    EXPECT_TRUE(sharpness[u"value"].isNull());
    EXPECT_EQ(sharpness[u"verdict"].toString(), QStringLiteral("warn"));
    EXPECT_EQ(sharpness[u"text"].toString(), QStringLiteral("The face is too small in the photo to judge this."));
    EXPECT_TRUE(CheckTable(measures).contains(QRegularExpression(QStringLiteral("look  sharpness +— "))));
}
