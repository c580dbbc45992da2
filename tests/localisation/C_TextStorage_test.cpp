#include "C_TextStorage.h"

#include <gtest/gtest.h>

TEST(TTextStorage, GetTextRules)
{
    TTextStorage ts(nullptr, "TS_about", {"About", "Application Name :", "Version :", "unused", "About"});
    EXPECT_EQ(ts.GetText("About"), "About");
    EXPECT_EQ(ts.GetText("Not there"), "Not there");
    EXPECT_EQ(ts.GetText("unused"), "unused");

    // A translation rewrites Items only; the originals stay the keys.
    ts.Items().SetString(0, QString::fromUtf8("À propos"));
    ts.Items().SetString(2, "Version :");
    ts.Items().SetString(3, "inutilise");
    ts.Items().SetString(4, "Second");
    EXPECT_EQ(ts.GetText("ABOUT"), QString::fromUtf8("À propos"));   // first match, any case
    EXPECT_EQ(ts.GetText("unused"), "inutilise");
    EXPECT_EQ(ts.Originals().Count(), 5);
    ts.Items().SetString(1, "unused");   // the reserved word means "no translation"
    EXPECT_EQ(ts.GetText("Application Name :"), "Application Name :");
    ts.Items().SetString(1, "Unused");   // compared exactly
    EXPECT_EQ(ts.GetText("Application Name :"), "Unused");

    // A shorter list (set directly) leaves the keys without a line untranslated.
    ts.SetItems(QStringList{"A"});
    EXPECT_EQ(ts.GetText("Version :"), "Version :");
    EXPECT_EQ(ts.Originals().Count(), 5);
    ts.SetDesigning(true);
    ts.SetItems(QStringList{"B"});
    EXPECT_EQ(ts.Originals().Count(), 1);
}
