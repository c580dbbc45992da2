#include "C_LangList.h"
#include "messages.h"
#include "code_pages.h"
#include "string_list.h"
#include "Lang_langChoice.h"
#include "application_events.h"
#include "U_CheckDlg.h"
#include "U_DigitalPhotoDlg.h"
#include "U_FrameDlg.h"
#include "U_MainDlg.h"
#include "U_PreviewDlg.h"
#include "U_SettingsDlg.h"
#include "U_SheetOptionsDlg.h"
#include "U_about.h"
#include "error_display.h"
#include "calibration.h"
#include "wrapped_labels.h"
#include "lang_file_builder.h"
#include "sheet_printer.h"
#include "sheet_settings.h"
#include "ui_U_MainDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QSet>
#include <QSizeGrip>
#include <QLabel>
#include <QLayout>
#include <QLibraryInfo>
#include <QListWidget>
#include <QPushButton>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace LangFile;
constexpr std::int32_t kCaption = textCaption | translatedBit;
constexpr std::int32_t kLines = textLines | translatedBit;

// The program's four forms, created as main() creates them, with the
// language files in a temporary program folder and the settings store in a
// temporary XDG_CONFIG_HOME.
class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QDir().mkpath(programDir());
        QCoreApplication::setApplicationName(QStringLiteral("Quorlo"));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("config")));
        qputenv("QRL_SYSTEM_CONFIG_DIR", QFile::encodeName(dir.filePath("machine")));
        previousDisplay = SetErrorDisplay([this](QWidget*, const QString& m) { errors << m; });
    }

    void TearDown() override
    {
        closeForms();
        SetErrorDisplay(std::move(previousDisplay));
    }

    QString programDir() const { return dir.filePath("program"); }

    void startForms(const QStringList& commandLine = {QStringLiteral("quorlo")})
    {
        main = std::make_unique<TMainDlg>();
        main->langue->SetProgramDir(programDir());
        main->langue->SetCommandLine(commandLine);
        settings = std::make_unique<TSettingsDlg>(main->langue);
        preview = std::make_unique<Tpreviewdlg>(main.get());
        about = std::make_unique<TAboutDlg>();
        frame = std::make_unique<TFrameDlg>(main->FaceModels(), main.get());
        sheetOptions = std::make_unique<TSheetOptionsDlg>(main.get());
        digital = std::make_unique<TDigitalPhotoDlg>(main->FaceModels(), main.get());
        check = std::make_unique<TCheckDlg>(main.get());
        main->SetSettingsDialog(settings.get());
        main->SetPreviewDialog(preview.get());
        main->SetAboutDialog(about.get());
        main->SetFrameDialog(frame.get());
        main->SetSheetOptionsDialog(sheetOptions.get());
        main->SetDigitalPhotoDialog(digital.get());
        main->SetCheckDialog(check.get());
        TApplicationEvents::Activate();
    }

    void closeForms()
    {
        check.reset();
        digital.reset();
        sheetOptions.reset();
        frame.reset();
        about.reset();
        preview.reset();
        settings.reset();
        main.reset();
    }

    // A translation of a few texts on each form, in code page 1252.
    void writeFrench()
    {
        LanguageFileBuilder::Options french;
        french.LangId = 0x040C;
        LanguageFileBuilder(french)
            .Entry("MainDlg.print_btn", kCaption, "Imprimer")
            .Entry("MainDlg.File1", kCaption, "Fichier")
            .Entry("SettingsDlg", kCaption, "Param\xE8tres")
            .Entry("previewdlg.saveimg_btn", kCaption, "Enregistrer l'image")
            .Entry("AboutDlg.TS_about", 0, {}, 0, {}, kLines,
                   "\xC0 propos\r\nNom de l'application :\r\nVersion :\r\nunused\r\n")
            .Write(programDir() + "/QRL_0000040C.SPK");
    }

    void writeGerman()
    {
        LanguageFileBuilder::Options german;
        german.LangId = 0x0407;
        german.HeaderText1 = "Deutsch";
        german.HeaderText2 = "Deutsche \xDC" "bersetzung";
        LanguageFileBuilder(german)
            .Entry("MainDlg.print_btn", kCaption, "Drucken")
            .Entry("SettingsDlg", kCaption, "Einstellungen")
            .Write(programDir() + "/QRL_00000407.SPK");
    }

    void saveChoice(int code)
    {
        QSettings store(dir.filePath("config/Varnel/Quorlo.conf"), QSettings::IniFormat);
        store.setValue("langue", code);
    }

    int savedChoice() const
    {
        QSettings store(dir.filePath("config/Varnel/Quorlo.conf"), QSettings::IniFormat);
        return store.value("langue", -1).toInt();
    }

    QTemporaryDir dir;
    TErrorDisplay previousDisplay;
    QStringList errors;
    std::unique_ptr<TMainDlg> main;
    std::unique_ptr<TSettingsDlg> settings;
    std::unique_ptr<Tpreviewdlg> preview;
    std::unique_ptr<TAboutDlg> about;
    std::unique_ptr<TFrameDlg> frame;
    std::unique_ptr<TSheetOptionsDlg> sheetOptions;
    std::unique_ptr<TDigitalPhotoDlg> digital;
    std::unique_ptr<TCheckDlg> check;
};

}  // namespace

TEST_F(LanguageTest, CompileSwitchWritesTheOriginalFileFromTheLiveForms)
{
    startForms({"quorlo", "/CO"});
    const QByteArray original = FileBytes(programDir() + "/QRL_ORIGINAL.SPK");
    ASSERT_FALSE(original.isEmpty());
    EXPECT_TRUE(original.startsWith("ZOQ LANGUAGE FILE"));
    for (const char* text : {"MainDlg.print_btn", "Print Now", "MainDlg.format_cmb",
                             "35 x 45 mm (France)", "SettingsDlg", "previewdlg.saveimg_btn",
                             "AboutDlg.TS_about", "Application Name :", "MainDlg.LoadPicture1"})
        EXPECT_TRUE(original.contains(text)) << text;
    EXPECT_FALSE(original.contains("centralWidget"));
    EXPECT_EQ(main->windowTitle(), "Quorlo v1.0.0.0");
}

TEST_F(LanguageTest, CoWithoutADashOrSlashWritesNothing)
{
    startForms({"quorlo", "co"});
    EXPECT_FALSE(QFile::exists(programDir() + "/QRL_ORIGINAL.SPK"));
}

TEST_F(LanguageTest, StartsInTheSavedLanguageWithTheVersionCaption)
{
    writeFrench();
    writeGerman();
    saveChoice(0x040C);
    startForms();
    EXPECT_EQ(main->Form().print_btn->text(), "Imprimer");
    EXPECT_EQ(main->Form().File1->title(), "Fichier");
    EXPECT_EQ(settings->windowTitle(), QString::fromUtf8("Paramètres"));
    EXPECT_EQ(main->windowTitle(), "Quorlo v1.0.0.0") << "the caption is rebuilt after the switch";
    EXPECT_EQ(main->Form().JvBitBtn1->text(), "Load Picture") << "untranslated texts stay";

    about->UpdateTexts();
    EXPECT_EQ(about->windowTitle(), QString::fromUtf8("À propos Quorlo"));
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

TEST_F(LanguageTest, AClickInTheSettingsDialogSwitchesEveryFormAndIsRemembered)
{
    writeFrench();
    writeGerman();
    saveChoice(0x040C);
    startForms();
    ASSERT_EQ(main->Form().print_btn->text(), "Imprimer");

    auto* choice = settings->findChild<TLanguageChoice*>("LanguageChoice1");
    ASSERT_NE(choice, nullptr);
    QListWidget* list = choice->LanguageListBox();
    int germanRow = -1;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text().startsWith("Deutsch"))
            germanRow = i;
    ASSERT_GE(germanRow, 0);
    settings->show();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(germanRow)).center());
    EXPECT_EQ(main->Form().print_btn->text(), "Drucken");
    EXPECT_EQ(settings->windowTitle(), "Einstellungen");
    EXPECT_EQ(main->windowTitle(), "Quorlo v1.0.0.0");
    EXPECT_EQ(savedChoice(), 0x0407);
    // Numbers in texts follow the language too.
    EXPECT_EQ(QLocale().decimalPoint(), ",");
    settings->hide();

    // A restart comes back in German.
    closeForms();
    startForms();
    EXPECT_EQ(main->Form().print_btn->text(), "Drucken");
}

TEST_F(LanguageTest, WithoutASavedChoiceTheUsersLocalePicksTheLanguage)
{
    // Run in its own process with LANG=de_CH.UTF-8 (see CMakeLists.txt).
    if (qEnvironmentVariable("QRL_EXPECTED_LOCALE") != "de_CH")
        GTEST_SKIP() << "needs LANG=de_CH.UTF-8 from the start of the process";
    writeFrench();
    writeGerman();
    startForms();
    EXPECT_EQ(main->Form().print_btn->text(), "Drucken") << "German through the primary language";
    EXPECT_EQ(savedChoice(), 0x0407);
}

TEST_F(LanguageTest, EveryFormStartsFromTheMainFormsFontSoTheFilesFontReachesThem)
{
    LanguageFileBuilder::Options french;
    french.LangId = 0x040C;
    french.FontName = "Quorlo Test Sans";
    LanguageFileBuilder(french).Entry("MainDlg.print_btn", kCaption, "Imprimer").Write(programDir() + "/QRL_0000040C.SPK");
    saveChoice(0x040C);
    startForms();
    ASSERT_EQ(main->Form().print_btn->text(), "Imprimer");
    for (QWidget* form : std::initializer_list<QWidget*>{main.get(), settings.get(), preview.get(), about.get()})
        EXPECT_EQ(form->font().family(), "Quorlo Test Sans") << form->objectName().toStdString();
}

TEST_F(LanguageTest, MessagesComeInTheChosenLanguageAndNameTheFile)
{
    QStringList lines = MessageOriginals();
    lines[lines.indexOf(QString::fromUtf8(Msg::kEmptyPhoto))] =
        QString::fromUtf8("Impossible d'ouvrir « %1 » : le fichier est vide.");
    lines[lines.indexOf(QString::fromUtf8(Msg::kPrintToPdf))] = QString::fromUtf8("Imprimer en PDF");
    TStringList list;
    for (const QString& line : lines)
        list.Add(line);
    LanguageFileBuilder::Options french;
    french.LangId = 0x040C;
    LanguageFileBuilder(french)
        .Entry("MainDlg.TS_messages", 0, {}, 0, {}, kLines, TTextCodec(1252).Encode(list.Text()))
        .Write(programDir() + "/QRL_0000040C.SPK");
    saveChoice(0x040C);
    startForms();
    const QString empty = dir.filePath("vide.jpg");
    QFile(empty).open(QIODevice::WriteOnly);
    main->LoadPhoto(empty);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors.front(), QString::fromUtf8("Impossible d'ouvrir « vide.jpg » : le fichier est vide."));
    // The built-in printer's name is the program's own text; a queue keeps its name.
    EXPECT_EQ(ShownPrinterName(QStringLiteral("Print to PDF")), "Imprimer en PDF");
    EXPECT_EQ(ShownPrinterName(QStringLiteral("Office_Laser")), "Office_Laser");
}

// Nothing of the imaging library's French, nor of the system's English, in
// a German window; a photo cut short is offered in German words.
TEST_F(LanguageTest, TheWindowSpeaksOnlyTheInterfacesLanguage)
{
    QFile::copy(QStringLiteral(QRL_LANG_OUTPUT_DIR "/QRL_00000407.SPK"), programDir() + "/QRL_00000407.SPK");
    saveChoice(0x0407);
    startForms();
    main->LoadPhoto(dir.filePath("nichtda.jpg"));
    QFile portrait(QStringLiteral(QRL_TEST_PORTRAIT));
    ASSERT_TRUE(portrait.open(QIODevice::ReadOnly));
    QFile cut(dir.filePath("cut.jpg"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(portrait.read(portrait.size() / 2));
    cut.close();
    QString asked;
    QTimer::singleShot(0, main.get(), [&] {
        auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(question, nullptr);
        asked = question->text();
        question->findChild<QPushButton*>("yes_btn")->click();
    });
    main->LoadPhoto(cut.fileName());
    EXPECT_EQ(errors, QStringList({QString::fromUtf8("„nichtda.jpg“ lässt sich nicht öffnen: Die Datei kann nicht "
                                                     "gelesen werden (die Datei existiert nicht).")}));
    EXPECT_TRUE(asked.startsWith(QString::fromUtf8("Die Fotodatei endet zu früh: Ihr unterer Teil fehlt."))) << asked.toStdString();
    EXPECT_FALSE(asked.contains(QStringLiteral("Use"))) << "the question in German too";
    EXPECT_EQ(main->img().Bitmap().Height(), 600);
}

// After a switch to German the sheet options show and take "99,5"; back in
// English a ruler typed that way is refused with a message, kept as typed
// when the field loses the focus, and nothing is stored.
TEST_F(LanguageTest, TheSheetOptionsNumbersFollowASwitchAndRefuseOtherText)
{
    for (const char* name : {"QRL_00000407.SPK", "QRL_00000409.SPK"})
        QFile::copy(QStringLiteral(QRL_LANG_OUTPUT_DIR "/") + name, programDir() + u'/' + name);
    startForms();
    const auto choose = [&](const char* language) {
        for (int i = 0; i < main->langue->Languages().Count(); ++i)
            if (main->langue->Languages()[i].startsWith(QString::fromUtf8(language)))
                main->langue->SetLanguageIndex(i);
    };
    auto* across = sheetOptions->findChild<QDoubleSpinBox*>("across_edt");
    auto* ok = sheetOptions->findChild<QPushButton*>("ok_btn");
    auto* status = sheetOptions->findChild<QLabel*>("status_lbl");
    ASSERT_TRUE(across && ok && status);
    const auto type = [&](const char* text) {
        across->setFocus();
        across->selectAll();
        QTest::keyClicks(across, QString::fromUtf8(text));
        QTest::mouseClick(ok, Qt::LeftButton);   // the field loses the focus to OK
    };

    choose("Deutsch");
    sheetOptions->Start("laser");
    sheetOptions->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(sheetOptions.get()));
    EXPECT_EQ(across->text(), "100,0");
    type("99,5");
    EXPECT_EQ(LoadCalibration("laser"), (TCalibration{99.5, 100}));

    choose("English");
    sheetOptions->Start("laser");
    sheetOptions->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(sheetOptions.get()));
    EXPECT_EQ(across->text(), "99.5");
    type("98,5");
    EXPECT_EQ(status->text(), "\"98,5\" is not a number: type a number such as 99.5.");
    EXPECT_EQ(across->text(), "98,5");
    EXPECT_TRUE(sheetOptions->isVisible());
    EXPECT_EQ(LoadCalibration("laser"), (TCalibration{99.5, 100}));
    sheetOptions->hide();
}

TEST_F(LanguageTest, OwnFormatsKeepTheirPlacesAndTheSelectionThroughASwitch)
{
    for (const char* name : {"QRL_00000407.SPK", "QRL_00000409.SPK"})
        QFile::copy(QStringLiteral(QRL_LANG_OUTPUT_DIR "/") + name, programDir() + u'/' + name);
    SaveOwnFormats({{45, 60, TRange{36, 40}, {}}, {20, 25, {}, {}}});
    startForms();
    QComboBox* formats = main->Form().format_cmb;
    formats->setCurrentIndex(7);
    const QStringList sizes = {"40 x 50", "51 x 51", "50 x 70", "45 x 60", "20 x 25"};
    for (const char* language : {"Deutsch", "English", "Deutsch"}) {
        SCOPED_TRACE(language);
        int row = -1;
        for (int i = 0; i < main->langue->Languages().Count(); ++i)
            if (main->langue->Languages()[i].startsWith(QString::fromUtf8(language)))
                row = i;
        ASSERT_GE(row, 0);
        main->langue->SetLanguageIndex(row);
        ASSERT_EQ(formats->count(), static_cast<int>(FormatList(LoadOwnFormats()).size()));
        EXPECT_EQ(formats->itemText(0), language == std::string("Deutsch") ? QString::fromUtf8("35 x 45 mm (Frankreich)")
                                                                            : QString::fromUtf8("35 x 45 mm (France)"));
        for (int i = 0; i < sizes.size(); ++i)
            EXPECT_TRUE(formats->itemText(3 + i).startsWith(sizes[i])) << formats->itemText(3 + i).toStdString();
        EXPECT_EQ(formats->currentIndex(), 7);
        EXPECT_EQ(main->SheetPrinter()->PhotoWidthMm(), 20);
        EXPECT_EQ(main->SheetPrinter()->PhotoHeightMm(), 25);
    }
    EXPECT_NE(formats->itemText(7), "20 x 25 mm (own)") << "the catalogue's wording in German";
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

TEST_F(LanguageTest, TheSheetsListKeepsItsLinesThroughASwitch)
{
    QFile::copy(QStringLiteral(QRL_LANG_OUTPUT_DIR "/QRL_00000407.SPK"), programDir() + "/QRL_00000407.SPK");
    startForms();
    QImage photo(60, 80, QImage::Format_RGB32);
    photo.fill(Qt::darkCyan);
    const QString file = dir.filePath("anna.jpg");
    ASSERT_TRUE(photo.save(file, "JPEG"));
    main->LoadPhoto(file);
    main->AddToSheetClick();
    int german = -1;
    for (int i = 0; i < main->langue->Languages().Count(); ++i)
        if (main->langue->Languages()[i].startsWith(QStringLiteral("Deutsch")))
            german = i;
    ASSERT_GE(german, 0);
    main->langue->SetLanguageIndex(german);
    EXPECT_EQ(main->Form().add_btn->text(), QString::fromUtf8("Zum &Bogen hinzufügen"));
    ASSERT_EQ(main->Form().sheet_lst->count(), 1);
    EXPECT_EQ(main->Form().sheet_lst->item(0)->text(), QString::fromUtf8("anna.jpg \u00D7 30"));
    EXPECT_EQ(main->SheetLines().Count(), 1);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

// Every shipped translation, applied to the real forms: no caption may need
// more room than its control has.
TEST_F(LanguageTest, EveryShippedTranslationFitsItsControls)
{
    const QDir built(QStringLiteral(QRL_LANG_OUTPUT_DIR));
    const QStringList files = built.entryList({QStringLiteral("QRL_0*.SPK")}, QDir::Files);
    ASSERT_EQ(files.size(), 10);
    for (const QString& name : files)
        QFile::copy(built.filePath(name), programDir() + u'/' + name);
    startForms();
    settings->show();   // the chooser lays its title out when shown
    const QList<QWidget*> forms = {main.get(), settings.get(), preview.get(), about.get(), frame.get(),
                                   sheetOptions.get(), digital.get()};
    for (int i = 0; i < main->langue->Languages().Count(); ++i) {
        main->langue->SetLanguageIndex(i);
        const std::string language = main->langue->Languages()[i].toStdString();
        for (QWidget* form : forms) {
            // A form laid out by layouts places its controls for the new texts.
            for (QLayout* layout : form->findChildren<QLayout*>())
                layout->activate();
            for (QAbstractButton* button : form->findChildren<QAbstractButton*>()) {
                if (!button->text().isEmpty()) {
                    EXPECT_LE(button->sizeHint().width(), button->width())
                        << language << ": " << button->text().toStdString();
                }
            }
            for (QLabel* label : form->findChildren<QLabel*>()) {
                if (!label->text().isEmpty() && !label->wordWrap() && label->width() > 0) {
                    EXPECT_LE(label->sizeHint().width(), label->width())
                        << language << ": " << label->text().toStdString();
                }
            }
            for (QGroupBox* group : form->findChildren<QGroupBox*>())
                EXPECT_LE(group->fontMetrics().horizontalAdvance(group->title()) + 16, group->width())
                    << language << ": " << group->title().toStdString();
        }
    }
}

// The windows Quorlo adds answer the keyboard in every shipped language: each
// button, and each field through its label, has an access key of its own in
// its window.
TEST_F(LanguageTest, EveryShippedTranslationGivesEachControlItsOwnAccessKey)
{
    const QDir built(QStringLiteral(QRL_LANG_OUTPUT_DIR));
    for (const QString& name : built.entryList({QStringLiteral("QRL_0*.SPK")}, QDir::Files))
        QFile::copy(built.filePath(name), programDir() + u'/' + name);
    startForms();
    for (int i = 0; i < main->langue->Languages().Count(); ++i) {
        main->langue->SetLanguageIndex(i);
        SCOPED_TRACE(main->langue->Languages()[i].toStdString());
        const QList<QList<QWidget*>> windows = {
            frame->findChildren<QWidget*>(),
            sheetOptions->findChildren<QWidget*>(),
            digital->findChildren<QWidget*>(),
            {main->Form().add_btn, main->Form().remove_btn, main->Form().clear_btn}};
        for (const QList<QWidget*>& controls : windows) {
            // The main window's menus take their keys at the same level as the sheet's buttons.
            QSet<int> keys;
            if (controls.first()->window() == main.get())
                keys = {QKeySequence::mnemonic(main->Form().File1->title())[0].key(),
                        QKeySequence::mnemonic(main->Form().Printer1->title())[0].key()};
            for (QWidget* control : controls) {
                auto* label = qobject_cast<QLabel*>(control);
                if (!qobject_cast<QAbstractButton*>(control) && !(label && label->buddy()))
                    continue;
                const QString text = control->property("text").toString();
                const QKeySequence key = QKeySequence::mnemonic(text);
                ASSERT_FALSE(key.isEmpty()) << text.toStdString();
                EXPECT_FALSE(keys.contains(key[0].key())) << text.toStdString();
                keys.insert(key[0].key());
            }
        }
    }
}

// Every window, in every shipped language, at the size it opens with on a
// 1366 x 768 screen and at its smallest: it fits, and no control covers
// another, reaches past the control that holds it or cuts its wrapped text
// short, the main window's status line included.
TEST_F(LanguageTest, EveryShippedTranslationLaysEachWindowOutWithoutOverlaps)
{
    const QDir built(QStringLiteral(QRL_LANG_OUTPUT_DIR));
    for (const QString& name : built.entryList({QStringLiteral("QRL_0*.SPK")}, QDir::Files))
        QFile::copy(built.filePath(name), programDir() + u'/' + name);
    startForms();
    main->LoadPhoto(QStringLiteral(QRL_TEST_PORTRAIT));   // the longest status line: warnings and the check
    const QSize screen(1366, 768 - 60);                     // less the title bar and a panel
    const QList<QWidget*> forms = {main.get(), settings.get(), preview.get(), about.get(), frame.get(),
                                   sheetOptions.get(), digital.get(), check.get()};
    auto laidOut = [&](QWidget& form) {
        EXPECT_LE(form.width(), screen.width());
        EXPECT_LE(form.height(), screen.height());
        QList<QWidget*> parents = form.findChildren<QWidget*>();
        parents << &form;
        for (QWidget* parent : parents) {
            QList<QWidget*> shown;
            for (QObject* o : parent->children()) {
                auto* w = qobject_cast<QWidget*>(o);
                // A window's size grip sits in its corner, over whatever is there.
                if (w && !w->isWindow() && w->isVisible() && !w->objectName().startsWith(QLatin1String("qt_"))
                    && !qobject_cast<QSizeGrip*>(w))
                    shown << w;
            }
            for (qsizetype a = 0; a < shown.size(); ++a) {
                EXPECT_TRUE(parent->rect().contains(shown[a]->geometry()))
                    << shown[a]->metaObject()->className() << " " << shown[a]->objectName().toStdString();
                for (qsizetype b = a + 1; b < shown.size(); ++b) {
                    EXPECT_FALSE(shown[a]->geometry().intersects(shown[b]->geometry()))
                        << shown[a]->objectName().toStdString() << " / " << shown[b]->objectName().toStdString();
                }
            }
            auto* label = qobject_cast<QLabel*>(parent);
            if (label && label->wordWrap() && !label->text().isEmpty() && label->isVisible()) {
                EXPECT_GE(label->height(), WrappedTextHeight(*label, label->width())) << label->text().toStdString();
            }
        }
    };
    for (int i = 0; i < main->langue->Languages().Count(); ++i) {
        main->langue->SetLanguageIndex(i);
        SCOPED_TRACE(main->langue->Languages()[i].toStdString());
        for (QWidget* form : forms) {
            SCOPED_TRACE(form->objectName().toStdString());
            const QSize opening = form->size();
            form->resize(opening.boundedTo(screen));
            form->show();
            QApplication::processEvents();
            laidOut(*form);
            form->resize(form->minimumSize());
            QApplication::processEvents();
            laidOut(*form);
            form->hide();
            form->resize(opening);
        }
    }
}

// Qt's own dialogs follow the interface's language, there and back.
TEST_F(LanguageTest, QtsOwnDialogsSpeakTheInterfacesLanguage)
{
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_de.qm")))
        GTEST_SKIP() << "Qt's translations are not installed (qt6-translations-l10n)";
    for (const char* name : {"QRL_00000407.SPK", "QRL_00000409.SPK"})
        QFile::copy(QStringLiteral(QRL_LANG_OUTPUT_DIR "/") + QLatin1String(name), programDir() + u'/' + name);
    startForms();
    const auto choose = [&](const QString& language) {
        for (int i = 0; i < main->langue->Languages().Count(); ++i)
            if (main->langue->Languages()[i].startsWith(language))
                main->langue->SetLanguageIndex(i);
    };
    choose(QStringLiteral("Deutsch"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QString::fromUtf8("Suchen in:"));
    choose(QStringLiteral("English"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), "Look in:");
}
