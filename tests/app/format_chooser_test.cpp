#include "format_chooser.h"

#include "format_choice.h"
#include "settings_fixture.h"
#include "sheet_settings.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class FormatChooserTest : public SheetSettingsTest {};

// The list's entries as they read, headers and formats alike.
QStringList entries(const TFormatChooser& chooser)
{
    QStringList texts;
    for (int row = 0; row < chooser.Entries()->count(); ++row)
        texts << chooser.Entries()->item(row)->text().trimmed();
    return texts;
}

int indexOf(const std::vector<TSheetFormat>& list, const char* id)
{
    for (const TSheetFormat& f : list)
        if (f.Document && f.Origin == TFormatOrigin::Document && f.Document->Id == id)
            return f.Index;
    return -1;
}

// Typing a country's first letters offers its documents under its name; a
// choice becomes current and the first of the last choices, which head the
// list the next time it opens. The original formats keep their places.
TEST_F(FormatChooserTest, TypingFindsACountrysDocumentsAndAChoiceIsRemembered)
{
    const std::vector<TSheetFormat> list = FormatList({});
    TFormatChooser chooser;
    chooser.SetFormats(list);
    EXPECT_EQ(chooser.itemText(0), "35 x 45 mm (France)");
    EXPECT_EQ(chooser.itemText(indexOf(list, "ca-passport")), QString::fromUtf8("Canada, Passport (50 × 70 mm)"));

    chooser.showPopup();
    ASSERT_TRUE(chooser.SearchField());
    QTest::keyClicks(chooser.SearchField(), QStringLiteral("Can"));
    EXPECT_EQ(entries(chooser), (QStringList{"Sizes", "1.8 x 2.2 in. (Canada)", "Canada",
                                             QString::fromUtf8("Passport (50 × 70 mm)"),
                                             QString::fromUtf8("Visa (35 × 45 mm)")}));
    QTest::keyClick(chooser.SearchField(), Qt::Key_Down);
    QTest::keyClick(chooser.SearchField(), Qt::Key_Return);
    EXPECT_EQ(chooser.currentIndex(), indexOf(list, "ca-passport"));
    EXPECT_EQ(LoadRecentFormats(), QStringList{"ca-passport"});

    // Searched by the id or in other words; nothing found, nothing offered.
    EXPECT_EQ(ChooserMatches(list, QStringLiteral("cn-")), std::vector<int>{indexOf(list, "cn-visa")});
    EXPECT_EQ(ChooserMatches(list, QStringLiteral("MEXICO")), std::vector<int>{indexOf(list, "mx-passport")});
    EXPECT_TRUE(ChooserMatches(list, QStringLiteral("Atlantis")).empty());

    chooser.showPopup();
    EXPECT_EQ(entries(chooser).mid(0, 3), (QStringList{"Last chosen", QString::fromUtf8("Canada, Passport (50 × 70 mm)"),
                                                       "Sizes"}));
    chooser.hidePopup();
}

}  // namespace
