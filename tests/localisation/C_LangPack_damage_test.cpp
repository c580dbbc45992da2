#include "C_LangPack.h"

#include "lang_format.h"
#include "lang_file_builder.h"
#include "test_forms.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <random>

using namespace LangFile;

namespace {

/// A valid file of the given revision with a flag and entries of every kind.
QByteArray validFile(const QString& name, int revision)
{
    LanguageFileBuilder::Options o;
    o.Revision = revision;
    o.TwoByteHeader = revision == 0;
    QImage flag(4, 3, QImage::Format_RGB32);
    flag.fill(Qt::red);
    o.Flag = BmpBytesOfBitmap(flag);
    o.HeaderLines = "line one\r\nline two\r\n";
    LanguageFileBuilder b(o);
    if (revision == 0) {
        b.String(6, "MainDlg.print_btn").String(0, "Imprimer").String(0, "Imprime");
        b.String(11, "MainDlg.format_cmb").String(0, "").String(0, "").String(0, "a\r\nb\r\nc\r\nd\r\n");
        b.String(12, "AboutDlg.TS_about").String(0, "x\r\n");
        b.String(13, "MainDlg.File1").String(0, "Fichier").String(0, "");
        return b.Write(name);
    }
    constexpr std::int32_t T = translatedBit;
    b.Entry("MainDlg.print_btn", textCaption | T, "Imprimer", textHint | hintShownBit | T, "Imprime");
    b.Entry("MainDlg.format_cmb", textCaption | T, "a", 0, {}, textLines | T, "a\r\nb\r\nc\r\nd\r\n", 1);
    b.Entry("MainDlg.gone", textCaption | T, "x");
    b.Entry("AboutDlg.TS_about", 0, {}, 0, {}, textLines | T, "x\r\ny\r\n");
    b.Entry("MainDlg.num_lbl", textCaption | T, "Nombre", 0, {}, 0, {}, 2);
    b.Entry("MainDlg.notes_mem", 0, {}, 0, {}, textLines | T, "m\r\n");
    return b.Write(name);
}

/// One random kind of damage: flipped bytes, a cut, inserted junk, or a
/// hostile 32-bit value (negative, tiny, huge) written over any position.
QByteArray damage(QByteArray bytes, std::mt19937& rng)
{
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    switch (pick(4)) {
    case 0:
        for (int i = 0, n = 1 + pick(8); i < n; ++i)
            bytes[pick(int(bytes.size()))] = char(pick(256));
        break;
    case 1:
        bytes.truncate(pick(int(bytes.size())));
        break;
    case 2:
        bytes.insert(pick(int(bytes.size())), QByteArray(1 + pick(16), char(pick(256))));
        break;
    default: {
        static const std::int32_t hostile[] = {-1, -12, 0, 3, 7, 8, 11, 12, 0x7FFFFFFF, INT32_MIN, 1 << 20};
        const std::int32_t v = hostile[pick(std::size(hostile))];
        const int at = pick(int(bytes.size()) - 3);
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = char((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
    }
    }
    return bytes;
}

}  // namespace

// Every damaged copy gives an answer: true, false or one of the two errors
// the format knows. Each call is bounded by the file (the loop below has a
// fixed count; a call that looped would be ended by ctest's timeout), and a
// file turned away leaves the forms exactly as they were.
TEST(ApplyFileDamage, RandomlyDamagedCopies)
{
    QTemporaryDir dir;
    std::mt19937 rng(20240611);
    auto forms = std::make_unique<TestForms>();
    const QString pristine = forms->Snapshot();
    int accepted = 0;
    int refused = 0;
    int raised = 0;
    for (const int revision : {0, 2, 4}) {
        const QByteArray valid = validFile(dir.filePath("valid.spk"), revision);
        for (int i = 0; i < 1500; ++i) {
            const QString name = dir.filePath("damaged.spk");
            WriteBytes(name, damage(valid, rng));
            TLanguageRecord record(4, &forms->Root, nullptr);
            const QString before = forms->Snapshot();
            bool result = false;
            bool threw = false;
            try {
                result = record.ApplyFile(name);
            } catch (const ELanguageFormat&) {
                threw = true;
            } catch (const EInvalidGraphic&) {
                threw = true;
            }
            if (result) {
                ++accepted;
                // Damage inside texts still gives a usable file; start afresh.
                forms = std::make_unique<TestForms>();
                ASSERT_EQ(forms->Snapshot(), pristine);
                continue;
            }
            threw ? ++raised : ++refused;
            ASSERT_EQ(forms->Snapshot(), before) << "revision " << revision << " copy " << i;
        }
    }
    // The mix of damage reaches all three outcomes.
    EXPECT_GT(accepted, 0);
    EXPECT_GT(refused, 0);
    EXPECT_GT(raised, 0);
}
