#include "C_LangPack.h"

#include "lang_format.h"
#include "lang_properties.h"
#include "Lang_Storageobj.h"
#include "lang_file_builder.h"
#include "test_forms.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace LangFile;

namespace {

struct Item {
    std::int32_t Tag;
    QByteArray Data;
    bool operator==(const Item&) const = default;
};

std::vector<Item> readItems(const QString& fileName)
{
    TStorefile s;
    s.SetSignature(kSignatureBytes);
    s.SetFilename(fileName);
    s.SetReadOnly(true);
    s.Open();
    std::vector<Item> items;
    while (!s.Eof()) {
        Item item;
        item.Tag = s.ReadString(item.Data, true);
        items.push_back(item);
    }
    EXPECT_EQ(static_cast<int>(items.size()), s.RecordCount());
    return items;
}

/// The five items of the entry for `path`, or none.
std::vector<Item> entryOf(const std::vector<Item>& items, const QByteArray& path)
{
    for (size_t i = 14; i + 5 <= items.size(); i += 5)
        if (items[i].Data == path)
            return {items.begin() + static_cast<std::ptrdiff_t>(i), items.begin() + static_cast<std::ptrdiff_t>(i + 5)};
    return {};
}

QByteArray le(std::int32_t v)
{
    return QByteArray(reinterpret_cast<const char*>(&v), 4);
}

struct LangPackTest : ::testing::Test {
    QTemporaryDir dir;
    TestForms f;
    TStringList excluded;
    TLanguageRecord record{4, &f.Root, &excluded};

    QString path(const QString& name) const { return dir.filePath(name); }
    QString write(const LanguageFileBuilder& b, const QString& name = "QRL_0000040C.SPK")
    {
        b.Write(path(name));
        return path(name);
    }
};

LanguageFileBuilder::Options revision(int r)
{
    LanguageFileBuilder::Options o;
    o.Revision = r;
    return o;
}

constexpr std::int32_t T = translatedBit;

}  // namespace

TEST_F(LangPackTest, WriteOriginalLayout)
{
    record.ProgramVersion = PackVersion(1, 0, 0, 0);
    record.FontName = "MS Sans Serif";
    record.InputMethodName = "0000040C";
    SetShowHint(f.print_btn, false);
    f.LoadPicture1->setStatusTip("Open a photo");   // menu items publish no ShowHint
    const QString name = path("QRL_ORIGINAL.SPK");
    WriteBytes(name, "an older file");
    EXPECT_TRUE(record.WriteOriginal(name));
    EXPECT_FALSE(QFile::exists(name + ".part"));

    const QByteArray bytes = FileBytes(name);
    EXPECT_EQ(bytes.left(17), "ZOQ LANGUAGE FILE");
    EXPECT_EQ(bytes.mid(21, 16), le(12) + le(0) + QByteArray("\x00\x00\x04\x00", 4) + le(16));
    EXPECT_EQ(bytes.mid(37, 12), le(8) + le(1) + le(12));

    const std::vector<Item> items = readItems(name);
    ASSERT_GE(items.size(), 14u);
    EXPECT_EQ(bytes.mid(17, 4), le(static_cast<std::int32_t>(items.size())));
    const std::vector<std::int32_t> headerTags{0, 1, 2, 3, 4, 5, 512, 516, 517, 518, 513, 514, 515, 516};
    for (size_t i = 0; i < headerTags.size(); ++i)
        EXPECT_EQ(items[i].Tag, headerTags[i]) << i;
    EXPECT_TRUE(items[5].Data.isEmpty());   // no flag
    EXPECT_EQ(items[6].Data, le(0x01000000));
    EXPECT_EQ(items[11].Data, "MS Sans Serif");
    EXPECT_EQ(items[13].Data, le(8));

    EXPECT_EQ(entryOf(items, "MainDlg.print_btn"),
              (std::vector<Item>{{0x212, "MainDlg.print_btn"}, {0x300, le(0)}, {1, "Print Now"},
                                 {2, "Print the sheet"}, {0, ""}}));
    EXPECT_EQ(entryOf(items, "MainDlg.format_cmb"),
              (std::vector<Item>{{0x212, "MainDlg.format_cmb"}, {0x300, le(0)}, {1, "35 x 45 mm (France)"}, {0, ""},
                                 {3, "35 x 45 mm (France)\r\n2 x 2 in. (US)\r\n1.8 x 2.2 in. (Canada)\r\n"}}));
    EXPECT_EQ(entryOf(items, "MainDlg.LoadPicture1")[3], (Item{0x12, "Open a photo"}));
    EXPECT_EQ(entryOf(items, "MainDlg.notes_mem")[4], (Item{3, "first\r\nsecond\r\n"}));
    EXPECT_EQ(entryOf(items, "AboutDlg")[2], (Item{1, "About"}));
    EXPECT_EQ(entryOf(items, "AboutDlg.TS_about")[0].Tag, 0x211);
    // Nothing but blanks, or nothing at all: no entry.
    EXPECT_TRUE(entryOf(items, "MainDlg.blank_lbl").empty());
    EXPECT_TRUE(entryOf(items, "MainDlg.dynnum_lbl").empty());
    EXPECT_TRUE(entryOf(items, "MainDlg").empty());
    EXPECT_EQ((items.size() - 14) % 5, 0u);

    // Written again, the file holds only the new contents.
    f.print_btn->setText("Print");
    record.WriteOriginal(name);
    EXPECT_EQ(entryOf(readItems(name), "MainDlg.print_btn")[2], (Item{1, "Print"}));
}

TEST_F(LangPackTest, WriteOriginalReportsAFailingComponentAndGoesOn)
{
    // A component whose accessor fails, between others that work.
    auto* bad = new QLabel("bad", f.AboutDlg.get());
    bad->setObjectName("bad_lbl");
    bad->setProperty("fail", true);
    auto* after = new QLabel("after", f.AboutDlg.get());
    after->setObjectName("after_lbl");
    TPublishedProperties failing = *PublishedProperties(bad);
    const auto getCaption = failing.Caption.Get;
    failing.Caption.Get = [getCaption](const QObject* o) {
        if (o->property("fail").toBool())
            throw Exception("cannot read");
        return getCaption(o);
    };
    const TPublishedProperties saved = *PublishedProperties(bad);
    RegisterPublishedProperties(QLabel::staticMetaObject, failing);
    QStringList reports;
    record.OnReport = [&](const QString& m) { reports << m; };
    record.WriteOriginal(path("o.spk"));
    RegisterPublishedProperties(QLabel::staticMetaObject, saved);

    EXPECT_EQ(reports, QStringList{"Exception cannot read - component No 21"});
    const std::vector<Item> items = readItems(path("o.spk"));
    EXPECT_TRUE(entryOf(items, "AboutDlg.bad_lbl").empty());
    EXPECT_FALSE(entryOf(items, "AboutDlg.ok_btn").empty());
    EXPECT_FALSE(entryOf(items, "AboutDlg.after_lbl").empty());
    EXPECT_EQ((items.size() - 14) % 5, 0u);   // no partial entry
}

TEST_F(LangPackTest, ApplyingTheOriginalChangesFontsOnly)
{
    record.FontName = "Tahoma";
    record.CharSet = 0;
    f.StatusBar->setFont(QFont("Arial", 6));
    record.WriteOriginal(path("orig.spk"));
    const QString before = f.Snapshot();

    TLanguageRecord current(4, &f.Root, &excluded);
    ASSERT_TRUE(current.ApplyFile(path("orig.spk")));
    EXPECT_EQ(current.MinFontSize, 8);
    EXPECT_EQ(f.print_btn->text(), "Print Now");
    EXPECT_EQ(f.format_cmb->itemText(2), "1.8 x 2.2 in. (Canada)");
    EXPECT_EQ(PublishedProperties(f.print_btn)->Font.Get(f.print_btn), (TFontRecord{"Tahoma", 8, 0}));
    EXPECT_EQ(PublishedProperties(f.StatusBar)->Font.Get(f.StatusBar), (TFontRecord{"Arial", 8, 0}));
    EXPECT_TRUE(f.print_btn->font().bold());
    // Only fonts changed.
    QString after = f.Snapshot();
    EXPECT_NE(after, before);
    EXPECT_EQ(after.replace("Tahoma,8,0", "MS Sans Serif,8,1").replace("Arial,8,0", "Arial,6,1"), before);
}

class LangPackRevisions : public LangPackTest, public ::testing::WithParamInterface<int> {};

TEST_P(LangPackRevisions, EntriesApplyOnlyWhenTranslated)
{
    const int r = GetParam();
    record.SettingsText1 = "kept";
    LanguageFileBuilder b(revision(r));
    b.Entry("MainDlg.print_btn", textCaption | T, "Imprimer", textHint | T, "Imprimer la feuille");
    b.Entry("MainDlg.num_lbl", textCaption, "Nombre :");   // carried, not applied
    // An entry for no component: skipped with its 3 (or 4) items, whatever they hold.
    b.Entry("MainDlg.gone_btn", textCaption | T, "Parti", textHint | T, "x", textLines | T, "y\r\n", 1);
    b.Entry("mainDLG.JVBITBTN1", textCaption | T, "Charger", textHint | hintShownBit | T, "Ouvrir");
    b.Entry("AboutDlg.TS_about", 0, {}, 0, {}, textLines | T, "\xC0 propos\r\nNom :\r\n");
    b.Entry("MainDlg.opt_grp", textCaption | T, "Param\xE8tres", 0, {}, 0, {}, 1);
    ASSERT_TRUE(record.ApplyFile(write(b)));

    EXPECT_EQ(record.Revision, r);
    EXPECT_EQ(record.LangId, 0x040C);
    EXPECT_EQ(record.HeaderText1, QString::fromUtf8("Français"));
    EXPECT_EQ(record.ProgramVersion, PackVersion(1, 2, 3, 5));
    EXPECT_EQ(record.MinFontSize, r == 4 ? 8 : 9);
    EXPECT_EQ(record.SettingsText1, r >= 2 ? "s1" : "kept");
    EXPECT_EQ(record.InputMethodName, "0000040C");

    EXPECT_EQ(f.print_btn->text(), "Imprimer");
    EXPECT_EQ(Hint(f.print_btn), "Imprimer la feuille");
    EXPECT_FALSE(ShowHint(f.print_btn));   // translated hint without bit 0x10
    EXPECT_TRUE(f.print_btn->toolTip().isEmpty());
    EXPECT_EQ(f.num_lbl->text(), "Number of pictures :");
    EXPECT_EQ(f.JvBitBtn1->text(), "Charger");
    EXPECT_TRUE(ShowHint(f.JvBitBtn1));
    EXPECT_EQ(f.JvBitBtn1->toolTip(), "Ouvrir");
    EXPECT_EQ(f.TS_about->GetText("About"), QString::fromUtf8("À propos"));
    EXPECT_EQ(f.TS_about->GetText("Version :"), "Version :");   // the list was shorter
    EXPECT_EQ(f.opt_grp->title(), QString::fromUtf8("Paramètres"));

    // Applying the same file again gives the same result.
    const QString once = f.Snapshot();
    ASSERT_TRUE(record.ApplyFile(path("QRL_0000040C.SPK")));
    EXPECT_EQ(f.Snapshot(), once);
}

INSTANTIATE_TEST_SUITE_P(Revisions1To4, LangPackRevisions, ::testing::Values(1, 2, 3, 4));

TEST_F(LangPackTest, ListsKeepTheirCountAndSelection)
{
    f.format_cmb->setCurrentIndex(1);
    f.sizes_lst->setCurrentRow(0);
    LanguageFileBuilder b;
    b.Entry("MainDlg.format_cmb", textCaption | T, "35 x 45 mm (France)", 0, {}, textLines | T,
            "35 x 45 mm (FR)\r\n2 x 2 po (US)\r\n1,8 x 2,2 po (CA)\r\nquatre\r\ncinq\r\n");
    b.Entry("MainDlg.sizes_lst", 0, {}, 0, {}, textLines | T, "petit\r\n");
    b.Entry("MainDlg.notes_mem", 0, {}, 0, {}, textLines | T, "un\r\ndeux\r\ntrois\r\n");
    ASSERT_TRUE(record.ApplyFile(write(b)));
    EXPECT_EQ(f.format_cmb->count(), 3);
    EXPECT_EQ(f.format_cmb->itemText(0), "35 x 45 mm (FR)");
    EXPECT_EQ(f.format_cmb->itemText(2), "1,8 x 2,2 po (CA)");
    EXPECT_EQ(f.format_cmb->currentIndex(), 1);
    EXPECT_EQ(f.sizes_lst->count(), 2);
    EXPECT_EQ(f.sizes_lst->item(0)->text(), "petit");
    EXPECT_EQ(f.sizes_lst->item(1)->text(), "large");
    EXPECT_EQ(f.sizes_lst->currentRow(), 0);
    EXPECT_EQ(f.notes_mem->toPlainText(), "un\ndeux");
}

TEST_F(LangPackTest, AlignmentCodes)
{
    LanguageFileBuilder b(revision(3));
    b.Entry("MainDlg.num_lbl", 0, {}, 0, {}, 0, {}, 1);
    b.Entry("MainDlg.print_btn", 0, {}, 0, {}, 0, {}, 2);
    b.Entry("MainDlg.JvBitBtn1", 0, {}, 0, {}, 0, {}, 7);
    f.JvBitBtn1->setLayoutDirection(Qt::RightToLeft);
    ASSERT_TRUE(record.ApplyFile(write(b)));
    EXPECT_EQ(f.num_lbl->alignment(), Qt::AlignRight | Qt::AlignTop);
    EXPECT_EQ(f.print_btn->layoutDirection(), Qt::RightToLeft);   // glyph on the right
    EXPECT_EQ(f.JvBitBtn1->layoutDirection(), Qt::RightToLeft);   // other codes change nothing
}

TEST_F(LangPackTest, ExcludedComponentsAreNotTranslated)
{
    excluded.SetSorted(true);
    excluded.Add("img");
    excluded.Add("MainDlg.print_btn");
    LanguageFileBuilder b;
    b.Entry("MainDlg.img", 0, {}, textHint | T, "photo");
    b.Entry("AboutDlg.img", textCaption | T, "banniere");
    b.Entry("MainDlg.print_btn", textCaption | T, "Imprimer");
    b.Entry("AboutDlg.ok_btn", textCaption | T, "D'accord");
    ASSERT_TRUE(record.ApplyFile(write(b)));
    EXPECT_EQ(Hint(f.img), "");
    EXPECT_EQ(f.aboutImg->text(), "banner");
    EXPECT_EQ(f.print_btn->text(), "Print Now");
    EXPECT_EQ(f.ok_btn->text(), "D'accord");
}

TEST_F(LangPackTest, FontPass)
{
    f.StatusBar->setFont(QFont("Arial", 6));
    f.ok_btn->setFont(QFont("MS Sans Serif", 12));
    LanguageFileBuilder::Options o;
    o.FontName = "Tahoma";
    o.Charset = 238;
    o.MinFontSize = 10;
    ASSERT_TRUE(record.ApplyFile(write(LanguageFileBuilder(o))));
    const auto font = [](QObject* c) { return PublishedProperties(c)->Font.Get(c); };
    EXPECT_EQ(font(f.MainDlg.get()), (TFontRecord{"Tahoma", 10, 238}));
    EXPECT_EQ(font(f.print_btn), (TFontRecord{"Tahoma", 10, 238}));
    EXPECT_EQ(font(f.StatusBar), (TFontRecord{"Arial", 10, 238}));
    EXPECT_EQ(font(f.ok_btn), (TFontRecord{"Tahoma", 12, 238}));
    EXPECT_EQ(f.ok_btn->font().family(), "Tahoma");   // Qt gets name and size
    EXPECT_EQ(ScreenFonts().HintFont.Charset, 238);
    EXPECT_EQ(ScreenFonts().MenuFont.Charset, 238);

    // Revisions 1 to 3 carry no minimum: sizes stay.
    f.StatusBar->setFont(QFont("Arial", 6));
    o.Revision = 3;
    ASSERT_TRUE(record.ApplyFile(write(LanguageFileBuilder(o))));
    EXPECT_EQ(font(f.StatusBar), (TFontRecord{"Arial", 6, 238}));
}

TEST_F(LangPackTest, FontPassWithAnEmptyNameAndALargeMinimum)
{
    f.StatusBar->setFont(QFont("Arial", 6));
    const QString reference = PublishedProperties(f.MainDlg.get())->Font.Get(f.MainDlg.get()).Name;
    f.print_btn->setFont(QFont(reference, 8));
    LanguageFileBuilder::Options o;
    o.FontName = "";
    o.MinFontSize = 100;
    ASSERT_TRUE(record.ApplyFile(write(LanguageFileBuilder(o))));
    const auto font = [](QObject* c) { return PublishedProperties(c)->Font.Get(c); };
    // The main form's font name gives way to the file's, even an empty one
    // (the desktop's font); other names stay. Every size reaches the minimum.
    EXPECT_EQ(font(f.print_btn).Name, "");
    EXPECT_EQ(font(f.MainDlg.get()).Name, "");
    EXPECT_EQ(font(f.StatusBar), (TFontRecord{"Arial", 100, 0}));
    EXPECT_EQ(font(f.print_btn).Size, 100);

    // A minimum no font could be drawn at is held to a drawable size.
    o.MinFontSize = 0x7FFFFFFF;
    ASSERT_TRUE(record.ApplyFile(write(LanguageFileBuilder(o))));
    EXPECT_EQ(font(f.StatusBar).Size, 512);
}

TEST_F(LangPackTest, CodePagesOfTheFile)
{
    // Russian, character set 204: code page 1251.
    LanguageFileBuilder::Options o;
    o.LangId = 0x0419;
    o.Charset = 204;
    o.HeaderText1 = "\xD0\xF3\xF1\xF1\xEA\xE8\xE9";
    LanguageFileBuilder b(o);
    b.Entry("MainDlg.print_btn", textCaption | T, "\xCF\xE5\xF7\xE0\xF2\xFC");
    ASSERT_TRUE(record.ApplyFile(write(b)));
    EXPECT_EQ(record.HeaderText1, QString::fromUtf8("Русский"));
    EXPECT_EQ(f.print_btn->text(), QString::fromUtf8("Печать"));
    EXPECT_EQ(FontCharset(f.print_btn), 204);

    // The default character set takes the code page of the file's language.
    o.Charset = 1;
    LanguageFileBuilder d(o);
    d.Entry("MainDlg.print_btn", textCaption | T, "\xCF\xE5\xF7\xE0\xF2\xFC!");
    ASSERT_TRUE(record.ApplyFile(write(d)));
    EXPECT_EQ(f.print_btn->text(), QString::fromUtf8("Печать!"));

    // And the original-language file is encoded in its character set.
    record.CharSet = 204;
    record.LangId = 0x0419;
    record.WriteOriginal(path("ru.spk"));
    EXPECT_EQ(entryOf(readItems(path("ru.spk")), "MainDlg.print_btn")[2].Data, "\xCF\xE5\xF7\xE0\xF2\xFC!");
}

TEST_F(LangPackTest, Revision0Entries)
{
    LanguageFileBuilder::Options o;
    o.Revision = 0;
    o.TwoByteHeader = true;
    o.LangId = 0x040C;
    LanguageFileBuilder b(o);
    SetFontCharset(f.MainDlg.get(), 204);
    SetFontCharset(f.print_btn, 204);
    excluded.Add("print_btn");   // not consulted by the oldest layout
    b.String(6, "MainDlg.print_btn").String(0, "Imprimer").String(0, "");
    b.String(7, "MainDlg.JvBitBtn1").String(0, "").String(0, "Ouvrir");
    b.String(11, "MainDlg.sizes_lst").String(0, "").String(0, "").String(0, "petit\r\ngrand\r\n\xE9norme\r\n");
    b.String(11, "MainDlg.format_cmb").String(0, "").String(0, "").String(0, "35 x 45\r\n");
    b.String(12, "AboutDlg.TS_about").String(0, "\xC0 propos\r\n");
    b.String(13, "MainDlg.File1").String(0, "Fichier").String(0, "");
    b.String(13, "MainDlg.LoadPicture1").String(0, "Charger...").String(0, "Charge une photo");
    b.String(13, "MainDlg.num_lbl").String(0, "wrong kind").String(0, "skipped");
    b.String(12, "MainDlg.num_lbl").String(0, "wrong kind");
    b.String(6, "Nowhere.x").String(0, "a").String(0, "b");
    b.String(99, "MainDlg.num_lbl");   // no items follow an unknown tag
    b.String(10, "aboutdlg").String(0, "\xC0 propos de").String(0, "");
    ASSERT_TRUE(record.ApplyFile(write(b)));

    EXPECT_EQ(record.Revision, 0);
    EXPECT_EQ(record.LangId, 0x040C);
    EXPECT_EQ(record.CharSet, 1);
    EXPECT_EQ(f.print_btn->text(), "Imprimer");
    EXPECT_EQ(Hint(f.print_btn), "Print the sheet");   // an empty hint leaves it
    EXPECT_EQ(f.JvBitBtn1->text(), "Load Picture");
    EXPECT_EQ(Hint(f.JvBitBtn1), "Ouvrir");
    EXPECT_EQ(f.sizes_lst->count(), 2);
    EXPECT_EQ(f.sizes_lst->item(1)->text(), "grand");
    EXPECT_EQ(f.format_cmb->itemText(0), "35 x 45");
    EXPECT_EQ(f.format_cmb->itemText(1), "2 x 2 in. (US)");
    EXPECT_EQ(f.TS_about->GetText("About"), QString::fromUtf8("À propos"));
    EXPECT_EQ(f.File1->title(), "Fichier");
    EXPECT_EQ(f.LoadPicture1->text(), "Charger...");
    EXPECT_EQ(f.LoadPicture1->statusTip(), "Charge une photo");
    EXPECT_EQ(f.num_lbl->text(), "Number of pictures :");
    EXPECT_EQ(f.AboutDlg->windowTitle(), QString::fromUtf8("À propos de"));
    // Character sets become the default one; names and sizes stay.
    EXPECT_EQ(FontCharset(f.MainDlg.get()), 1);
    EXPECT_EQ(FontCharset(f.print_btn), 1);
    EXPECT_EQ(f.print_btn->font().family(), "MS Sans Serif");
}

TEST_F(LangPackTest, FlagBitmap)
{
    QImage flag(3, 2, QImage::Format_RGB32);
    flag.fill(Qt::blue);
    flag.setPixel(0, 0, qRgb(255, 0, 0));
    LanguageFileBuilder::Options o;
    o.Flag = BmpBytesOfBitmap(flag);
    ASSERT_EQ(o.Flag.left(2), "BM");
    ASSERT_TRUE(record.ApplyFile(write(LanguageFileBuilder(o))));
    ASSERT_EQ(record.FlagBitmap.size(), QSize(3, 2));
    EXPECT_EQ(record.FlagBitmap.pixel(0, 0), qRgb(255, 0, 0));
    record.WriteOriginal(path("flag.spk"));
    EXPECT_EQ(readItems(path("flag.spk"))[5].Data.left(2), "BM");

    // A flag item that is no BMP raises; no component has changed.
    const QString before = f.Snapshot();
    for (const QByteArray& bad : {QByteArray("GIF89a....."), o.Flag.left(30), o.Flag.left(2) + QByteArray(60, '\xFF')}) {
        LanguageFileBuilder::Options p;
        p.Flag = bad;
        LanguageFileBuilder b(p);
        b.Entry("MainDlg.print_btn", textCaption | T, "Imprimer");
        try {
            record.ApplyFile(write(b));
            ADD_FAILURE() << "no exception";
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message, "Bitmap image is not valid");
        }
    }
    EXPECT_EQ(f.Snapshot(), before);
}

TEST_F(LangPackTest, UnreadableFilesChangeNothing)
{
    record.LangId = 0x0407;
    const QString before = f.Snapshot();
    LanguageFileBuilder b;
    b.Entry("MainDlg.print_btn", textCaption | T, "Imprimer");
    const QByteArray good = b.Write(path("good.spk"));

    EXPECT_FALSE(record.ApplyFile(path("missing.spk")));
    EXPECT_FALSE(record.ApplyFile(""));
    WriteBytes(path("sig.spk"), "ZOQ LANGUAGE FILX" + good.mid(17));
    EXPECT_FALSE(record.ApplyFile(path("sig.spk")));

    // Five items only.
    LanguageFileBuilder five(revision(0));
    five.Write(path("five.spk"));
    QByteArray fiveBytes = FileBytes(path("five.spk"));
    fiveBytes.chop(12);   // drop the (empty) flag record
    fiveBytes.replace(17, 4, le(5));
    WriteBytes(path("five.spk"), fiveBytes);
    EXPECT_FALSE(record.ApplyFile(path("five.spk")));

    // A revision-4 header without its settings items.
    LanguageFileBuilder bare(revision(0));
    bare.Write(path("bare.spk"));
    QByteArray bareBytes = FileBytes(path("bare.spk"));
    bareBytes.replace(21, 16, le(12) + le(0) + le(EncodeHeader(4, 0x40C)) + le(16));
    WriteBytes(path("bare.spk"), bareBytes);
    EXPECT_FALSE(record.ApplyFile(path("bare.spk")));

    WriteBytes(path("cut.spk"), good.left(good.size() - 7));
    EXPECT_FALSE(record.ApplyFile(path("cut.spk")));
    WriteBytes(path("tail.spk"), good + "garbage!");
    EXPECT_FALSE(record.ApplyFile(path("tail.spk")));
    WriteBytes(path("junk.spk"), good.left(21) + QByteArray(200, '\xEE'));
    EXPECT_FALSE(record.ApplyFile(path("junk.spk")));

    EXPECT_EQ(record.LangId, 0x0407);
    EXPECT_EQ(f.Snapshot(), before);
    EXPECT_TRUE(record.ApplyFile(path("good.spk")));
    EXPECT_EQ(f.print_btn->text(), "Imprimer");
}

TEST_F(LangPackTest, NewerRevisionIsRejected)
{
    LanguageFileBuilder::Options o = revision(5);
    o.LangId = 0x0419;
    LanguageFileBuilder b(o);
    b.Entry("MainDlg.print_btn", textCaption | T, "x");
    const QString name = write(b);
    const QString before = f.Snapshot();
    try {
        record.ApplyFile(name);
        FAIL() << "no exception";
    } catch (const ELanguageFormat& e) {
        EXPECT_EQ(e.Message, "Format not supported in this revision");
    }
    EXPECT_EQ(f.Snapshot(), before);
    EXPECT_EQ(record.LangId, 0x0419);   // items 0 to 5 were read
    // The file was closed: a writer can take it again.
    TStorefile s;
    s.SetSignature(kSignatureBytes);
    s.SetFilename(name);
    s.Open();
    EXPECT_TRUE(s.Opened());
    EXPECT_FALSE(s.OpenedReadOnly());
}
