#include "Lang_langChoice.h"

#include "lang_components.h"
#include "U_SettingsDlg.h"
#include "lang_list_fixture.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace LangFile;

namespace {

/// The chooser as the settings dialog holds it, bound after the main form's
/// own handler was set (as the forms are created at start-up).
class LanguageChoiceTest : public LangListTest {
protected:
    void bind()
    {
        choice = std::make_unique<TLanguageChoice>();
        choice->resize(273, 345);
        choice->SetLanguageList(langue);
        choice->OnClick = [this](QObject* sender) {
            ++clicks;
            clickSender = sender;
        };
    }

    /// A mouse click on row `row`, as the user makes it.
    void click(int row)
    {
        QListWidget* box = choice->LanguageListBox();
        const QRect r = box->visualItemRect(box->item(row));
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, r.center());
    }

    QString title() const { return choice->TitleLabel()->text(); }

    std::unique_ptr<TLanguageChoice> choice;
    int clicks = 0;
    QObject* clickSender = nullptr;
};

QColor cream()
{
    return QColor(0xFF, 0xFB, 0xF0);
}

}  // namespace

TEST_F(LanguageChoiceTest, BindingListsTheLanguagesAndGoesInFrontOfTheMainHandler)
{
    writeLanguage({.Code = 0x0407, .Text1 = "Deutsch", .Text2 = "Deutsche \xDC" "bersetzung", .Caption = "Drucken"});
    writeLanguage({.Code = 0x040C});
    int rowSeenByMain = -2;
    langue->AfterLanguageSwitch = [&, previous = langue->AfterLanguageSwitch](QObject* sender) {
        rowSeenByMain = choice->LanguageListBox()->currentRow();
        previous(sender);
    };
    bind();

    QStringList rows;
    for (int i = 0; i < choice->LanguageListBox()->count(); ++i)
        rows << choice->LanguageListBox()->item(i)->text();
    EXPECT_EQ(rows, langue->Languages().ToStringList());
    EXPECT_EQ(rows.size(), 2);

    // A switch made elsewhere (start-up): the row follows, the main form's
    // handler runs with the chooser as sender, the title has two blanks.
    langue->SetLanguageIndex(1);   // German: French comes first in the table
    EXPECT_EQ(choice->LanguageListBox()->currentRow(), 1);
    EXPECT_EQ(rowSeenByMain, 1);
    EXPECT_EQ(afterSwitches, 1);
    EXPECT_EQ(afterSender, choice.get());
    EXPECT_EQ(title(), QStringLiteral("  Deutsche \u00dcbersetzung"));
    EXPECT_EQ(clicks, 0);
}

TEST_F(LanguageChoiceTest, AClickSwitchesAndShowsTheInformationWithoutBlanks)
{
    writeLanguage({.Code = 0x0407, .Text2 = "Deutsche \xDC" "bersetzung", .Caption = "Drucken"});
    writeLanguage({.Code = 0x040C});
    bind();

    click(1);   // German: French comes first in the table
    EXPECT_EQ(langue->LanguageIndex(), 1);
    EXPECT_EQ(print_btn->text(), QStringLiteral("Drucken"));
    EXPECT_EQ(title(), QStringLiteral("Deutsche \u00dcbersetzung"));
    EXPECT_EQ(savedCode(), 0x0407);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(clickSender, choice.get());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // The row already selected switches again.
    click(1);
    EXPECT_EQ(afterSwitches, 2);
    EXPECT_EQ(clicks, 2);

    // So does a move with the keyboard.
    QTest::keyClick(choice->LanguageListBox(), Qt::Key_Up);
    EXPECT_EQ(langue->LanguageIndex(), 0);
    EXPECT_EQ(print_btn->text(), QStringLiteral("Imprimer"));
    EXPECT_EQ(title(), QStringLiteral("Traduction fran\u00e7aise"));
    EXPECT_EQ(afterSwitches, 3);
}

TEST_F(LanguageChoiceTest, AFailedClickSaysWhyAndKeepsTheChoice)
{
    writeLanguage({.Code = 0x0407, .Caption = "Drucken"});
    writeLanguage({.Code = 0x040C});
    bind();
    QStringList shown;
    choice->ShowError = [&](QWidget*, const QString& message) { shown.append(message); };
    click(1);
    ASSERT_EQ(print_btn->text(), QStringLiteral("Drucken"));

    QFile::remove(languageFile(0x040C));
    click(0);
    EXPECT_EQ(shown, QStringList{"The language file \"QRL_0000040C.SPK\" cannot be used: the file is missing."});
    EXPECT_EQ(choice->LanguageListBox()->currentRow(), 1);
    EXPECT_EQ(langue->LanguageIndex(), 1);
    EXPECT_EQ(print_btn->text(), QStringLiteral("Drucken"));
    EXPECT_EQ(title(), QString());
    EXPECT_EQ(afterSwitches, 1);
    EXPECT_EQ(clicks, 2);
}

TEST_F(LanguageChoiceTest, TitleLineOfATranslationWithoutInformation)
{
    writeLanguage({.Code = 0x040C, .Text2 = ""});
    bind();
    langue->SetLanguageIndex(0);
    EXPECT_EQ(title(), QStringLiteral("  "));
    click(0);
    EXPECT_EQ(title(), QString());
}

TEST_F(LanguageChoiceTest, WithoutLanguageFilesAClickSwitchesNothing)
{
    bind();
    EXPECT_EQ(choice->LanguageListBox()->count(), 0);
    choice->TitleLabel()->setText(QStringLiteral("old"));
    choice->LanguageListBoxClick();
    EXPECT_EQ(title(), QString());
    EXPECT_EQ(afterSwitches, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(savedCode(), std::nullopt);

    TLanguageChoice unbound;
    unbound.LanguageListBoxClick();   // nothing bound: nothing happens
}

TEST_F(LanguageChoiceTest, RowsShowTheFlagInACreamFrameAndTheText)
{
    QImage flag(20, 13, QImage::Format_RGB32);
    flag.fill(QColor(0x00, 0x55, 0xA4));
    writeLanguage({.Code = 0x040C, .Flag = flag});
    writeLanguage({.Code = 0x0407});
    bind();

    const auto drawRow = [&](int index) {
        QImage canvas(240, 2 * TLanguageChoice::kRowHeight, QImage::Format_RGB32);
        canvas.fill(Qt::black);
        QPainter painter(&canvas);
        // The second row of the list: coordinates are the row's own.
        choice->DrawRow(painter, index, QRect(0, 32, 240, 32), QBrush(Qt::white), Qt::black);
        return canvas;
    };
    // French comes before German in the table: row 0 has the flag.
    ASSERT_EQ(langue->LanguageCode(0), 0x040Cu);
    const QImage withFlag = drawRow(0);
    const QImage withoutFlag = drawRow(1);

    const int y = 32 + 2;   // (Top + Bottom - 28) / 2 for a 32-pixel row
    EXPECT_EQ(withFlag.pixelColor(3, y - 1), cream());           // frame, top left
    EXPECT_EQ(withFlag.pixelColor(3 + 21, y - 1 + 14), cream()); // frame, bottom right
    EXPECT_EQ(withFlag.pixelColor(4, y), QColor(0x00, 0x55, 0xA4));
    EXPECT_EQ(withFlag.pixelColor(4 + 19, y + 12), QColor(0x00, 0x55, 0xA4));
    EXPECT_EQ(withFlag.pixelColor(4 + 20, y + 6), cream());
    EXPECT_EQ(withFlag.pixelColor(2, y + 6), QColor(Qt::white));   // the row's own fill
    EXPECT_EQ(withFlag.pixelColor(2, 31), QColor(Qt::black));      // nothing outside the row

    // No flag: a 2 x 2 frame, and the text starts 12 pixels from the left.
    EXPECT_EQ(withoutFlag.pixelColor(3, y - 1), cream());
    EXPECT_EQ(withoutFlag.pixelColor(4, y), cream());
    EXPECT_EQ(withoutFlag.pixelColor(5, y), QColor(Qt::white));
    bool textLeft = false;
    for (int x = 12; x < 40 && !textLeft; ++x)
        for (int yy = 32; yy < 64; ++yy)
            textLeft |= withoutFlag.pixelColor(x, yy) == QColor(Qt::black);
    EXPECT_TRUE(textLeft);
    for (int x = 6; x < 12; ++x)
        for (int yy = 32; yy < 64; ++yy)
            ASSERT_NE(withoutFlag.pixelColor(x, yy), QColor(Qt::black)) << x << "," << yy;
}

TEST_F(LanguageChoiceTest, ItsPartsAreNotComponentsOfTheForm)
{
    TSettingsDlg dialog(langue);
    TStringList components;
    CollectComponents(QString(), components, nullptr, &dialog);
    EXPECT_EQ(components.ToStringList(), (QStringList{QStringLiteral("SettingsDlg"),
                                                      QStringLiteral("SettingsDlg.LanguageChoice1")}));
}

TEST_F(LanguageChoiceTest, TheChooserMayGoBeforeTheList)
{
    writeLanguage({.Code = 0x040C});
    bind();
    choice.reset();
    langue->BuildLanguageList();
    langue->SetLanguageIndex(0);
    EXPECT_EQ(afterSwitches, 1);
    EXPECT_EQ(afterSender, langue);
}

TEST_F(LangListTest, SettingsDialogHoldsTheBoundChooser)
{
    writeLanguage({.Code = 0x040C});
    TSettingsDlg SettingsDlg(langue);
    EXPECT_EQ(SettingsDlg.objectName(), QStringLiteral("SettingsDlg"));
    EXPECT_EQ(SettingsDlg.windowTitle(), QStringLiteral("Settings"));
    EXPECT_EQ(SettingsDlg.size(), QSize(289, 363));
    TLanguageChoice* choice = SettingsDlg.LanguageChoice1();
    EXPECT_EQ(choice->objectName(), QStringLiteral("LanguageChoice1"));
    EXPECT_EQ(choice->geometry(), QRect(8, 8, 273, 345));
    EXPECT_EQ(choice->LanguageList(), langue);
    EXPECT_EQ(choice->LanguageListBox()->count(), 1);
    EXPECT_EQ(TApplicationForms::Application().Forms(),
              (QList<QWidget*>{MainDlg.get(), &SettingsDlg}));

    // Start-up: the saved language is applied and the dialog shows it.
    saveCode(0x040C);
    langue->ApplicationActivate();
    EXPECT_EQ(choice->LanguageListBox()->currentRow(), 0);
    EXPECT_EQ(choice->TitleLabel()->text(), QStringLiteral("  Traduction fran\u00e7aise"));
    EXPECT_EQ(afterSwitches, 1);

    // Execute shows it modally; the close box gives no OK.
    QTimer::singleShot(0, &SettingsDlg, [&] { SettingsDlg.close(); });
    EXPECT_FALSE(SettingsDlg.Execute());
}
