// Photos with an embedded colour profile come out in sRGB, as another
// program converts them; photos without one load as decoded.
#include "bitmap32.h"
#include "colour_profile.h"
#include "jpeg_codec.h"
#include "jpeg_icc.h"
#include "jpeg_row_encoder.h"
#include "test_files.h"

#include <QColorSpace>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <lcms2.h>

#include <cstdlib>

namespace {

const QString kPortrait = QStringLiteral("/usr/share/matplotlib/mpl-data/sample_data/grace_hopper.jpg");
const QString kAdobeRGB = QStringLiteral("/usr/share/color/icc/colord/AdobeRGB1998.icc");

// Display P3: the DCI-P3 primaries, a D65 white and the sRGB curve.
QByteArray displayP3Profile()
{
    const cmsCIExyY white{0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE primaries{{0.680, 0.320, 1.0}, {0.265, 0.690, 1.0}, {0.150, 0.060, 1.0}};
    const cmsFloat64Number srgbCurve[5] = {2.4, 1.0 / 1.055, 0.055 / 1.055, 1.0 / 12.92, 0.04045};
    cmsToneCurve* curve = cmsBuildParametricToneCurve(nullptr, 4, srgbCurve);
    cmsToneCurve* curves[3] = {curve, curve, curve};
    cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    QByteArray bytes(static_cast<qsizetype>(size), '\0');
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    cmsFreeToneCurve(curve);
    return bytes;
}

// The same JPEG stream with the profile in an APP2 marker after its start.
QByteArray withProfile(const QByteArray& jpeg, const QByteArray& profile)
{
    const int length = 2 + 14 + static_cast<int>(profile.size());
    QByteArray marker("\xFF\xE2", 2);
    marker += char(length >> 8);
    marker += char(length & 0xFF);
    marker += QByteArray("ICC_PROFILE\0\x01\x01", 14);
    return jpeg.left(2) + marker + profile + jpeg.mid(2);
}

int largestDifference(const TBitmap32& ours, const QImage& theirs, double* mean)
{
    int largest = 0;
    double sum = 0;
    for (int y = 0; y < ours.Height(); ++y) {
        for (int x = 0; x < ours.Width(); ++x) {
            const TColor32 a = ours.Pixel(x, y);
            const QRgb b = theirs.pixel(x, y);
            for (const int d : {RedComponent(a) - qRed(b), GreenComponent(a) - qGreen(b), BlueComponent(a) - qBlue(b)}) {
                largest = std::max(largest, std::abs(d));
                sum += std::abs(d);
            }
        }
    }
    *mean = sum / (3.0 * ours.Width() * ours.Height());
    return largest;
}

}  // namespace

TEST(ColourProfile, EmbeddedProfilesAreConvertedToSRGBAsImageMagickDoes)
{
    if (QStandardPaths::findExecutable(QStringLiteral("convert")).isEmpty() || !QFile::exists(kAdobeRGB))
        GTEST_SKIP() << "needs ImageMagick (imagemagick) and colord's profiles (colord-data)";
    QTemporaryDir dir;
    const QString srgb = writeFile(dir, QStringLiteral("srgb.icc"), SRGBProfileBytes());
    const QByteArray portrait = readFile(kPortrait);
    TBitmap32 plain;
    plain.LoadFromFile(kPortrait);
    const struct {
        const char* Name;
        QByteArray Profile;
    } cases[] = {
        {"adobe-rgb.jpg", readFile(kAdobeRGB)},
        {"display-p3.jpg", displayP3Profile()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString path = writeFile(dir, QString::fromLatin1(c.Name), withProfile(portrait, c.Profile));
        ASSERT_EQ(ReadJPEGColourProfile(readFile(path)), c.Profile);
        TBitmap32 ours;
        ours.LoadFromFile(path);
        const QString theirsPath = dir.filePath(QStringLiteral("theirs.png"));
        ASSERT_EQ(QProcess::execute(QStringLiteral("convert"),
                                    {path, QStringLiteral("-intent"), QStringLiteral("Perceptual"),
                                     QStringLiteral("-profile"), srgb, QStringLiteral("-depth"),
                                     QStringLiteral("8"), theirsPath}),
                  0);
        const QImage theirs(theirsPath);
        ASSERT_EQ(theirs.size(), QSize(ours.Width(), ours.Height()));
        double mean = 0;
        const int largest = largestDifference(ours, theirs, &mean);
        EXPECT_LE(largest, 3);
        EXPECT_LE(mean, 0.5);
        // Wider gamuts: the same numbers are stronger colours, so the
        // converted photo moved away from the numbers as decoded.
        QImage plainImage;
        plain.AssignTo(plainImage);
        double moved = 0;
        largestDifference(ours, plainImage, &moved);
        std::printf("%s: largest difference to ImageMagick %d, mean %.3f; mean change %.2f\n", c.Name, largest,
                    mean, moved);
        EXPECT_GT(moved, 2.0);
    }
}

// A PNG and a HEIC carrying Display P3: a colour inside both gamuts comes
// out as LittleCMS converts it to sRGB.
TEST(ColourProfile, PngAndHeicProfilesAreConvertedToSRGB)
{
    if (QStandardPaths::findExecutable(QStringLiteral("heif-enc")).isEmpty())
        GTEST_SKIP() << "needs heif-enc (libheif-examples)";
    const QByteArray p3 = displayP3Profile();
    const unsigned char inP3[3] = {200, 90, 60};
    unsigned char inSRGB[3] = {};
    cmsHPROFILE source = cmsOpenProfileFromMem(p3.constData(), static_cast<cmsUInt32Number>(p3.size()));
    cmsHPROFILE target = cmsCreate_sRGBProfile();
    cmsHTRANSFORM transform = cmsCreateTransform(source, TYPE_RGB_8, target, TYPE_RGB_8, INTENT_PERCEPTUAL, 0);
    cmsDoTransform(transform, inP3, inSRGB, 1);
    cmsDeleteTransform(transform);
    cmsCloseProfile(target);
    cmsCloseProfile(source);
    ASSERT_GT(inSRGB[0] - inP3[0], 10) << "P3's red is stronger than sRGB's";

    QTemporaryDir dir;
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(qRgb(inP3[0], inP3[1], inP3[2]));
    image.setColorSpace(QColorSpace::fromIccProfile(p3));
    const QString png = dir.filePath(QStringLiteral("p3.png"));
    ASSERT_TRUE(image.save(png));
    // heif-enc carries the PNG's profile into the HEIC.
    const QString heic = dir.filePath(QStringLiteral("p3.heic"));
    ASSERT_EQ(QProcess::execute(QStringLiteral("heif-enc"), {QStringLiteral("-q"), QStringLiteral("90"), png,
                                                             QStringLiteral("-o"), heic}),
              0);
    for (const QString& path : {png, heic}) {
        SCOPED_TRACE(path.toStdString());
        TBitmap32 loaded;
        loaded.LoadFromFile(path);
        const TColor32 centre = loaded.Pixel(16, 16);
        EXPECT_NEAR(RedComponent(centre), inSRGB[0], 2);
        EXPECT_NEAR(GreenComponent(centre), inSRGB[1], 2);
        EXPECT_NEAR(BlueComponent(centre), inSRGB[2], 2);
    }
}

TEST(ColourProfile, ColourJpegsWrittenHereSaySRGBAndLoadUnchanged)
{
    QImage image(24, 16, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 10, y * 15, 200 - x * 5));
    for (const bool gray : {false, true}) {
        SCOPED_TRACE(gray ? "gray" : "colour");
        TJPEGSettings settings;
        settings.Grayscale = gray;
        const QByteArray jpeg = EncodeJPEG(image, settings);
        EXPECT_EQ(ReadJPEGColourProfile(jpeg), gray ? QByteArray() : SRGBProfileBytes());
        if (gray)
            continue;
        QTemporaryDir dir;
        TBitmap32 loaded;
        loaded.LoadFromFile(writeFile(dir, QStringLiteral("page.jpg"), jpeg));
        const QImage decoded = DecodeJPEG(jpeg, TJPEGSettings{});
        double mean = 0;
        EXPECT_EQ(largestDifference(loaded, decoded, &mean), 0) << "sRGB stays as decoded";
    }
}
