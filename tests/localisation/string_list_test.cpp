#include "string_list.h"

#include "exception.h"

#include <gtest/gtest.h>

TEST(TStringList, SortedIgnoresDuplicatesWithoutRegardToCase)
{
    TStringList list;
    list.SetSorted(true);
    list.Add("img");
    list.Add("MainDlg.img");
    list.Add("Alpha");
    EXPECT_EQ(list.Add("IMG"), 1);   // already there: its index, no new line
    EXPECT_EQ(list.ToStringList(), (QStringList{"Alpha", "img", "MainDlg.img"}));
    EXPECT_EQ(list.IndexOf("maindlg.IMG"), 2);
    EXPECT_EQ(list.IndexOf("missing"), -1);
    EXPECT_THROW(list.Insert(0, "x"), Exception);

    list.SetDuplicates(TDuplicates::dupError);
    EXPECT_THROW(list.Add("alpha"), Exception);
    list.SetDuplicates(TDuplicates::dupAccept);
    list.Add("ALPHA");
    EXPECT_EQ(list.ToStringList(), (QStringList{"Alpha", "ALPHA", "img", "MainDlg.img"}));
}

TEST(TStringList, UnsortedFindsFirstMatchAndKeepsObjects)
{
    TStringList list;
    QObject a, b;
    list.AddObject("Form.Btn", QVariant::fromValue(&a));
    list.AddObject("form.btn", QVariant::fromValue(&b));
    list.AddObject("code", 0x040C);
    EXPECT_EQ(list.IndexOf("FORM.BTN"), 0);
    EXPECT_EQ(list.Object(1), &b);
    EXPECT_EQ(list.Object(2), nullptr);
    EXPECT_EQ(list.Objects(2).toInt(), 0x040C);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("form.btn"), 1);
    EXPECT_THROW(list.Strings(3), Exception);
    EXPECT_THROW(list.Strings(-1), Exception);
}

TEST(TStringList, TextJoinsWithCrLfAndSplitsAnyBreak)
{
    TStringList list;
    list.SetText("one\r\ntwo\rthree\nfour\r\n");
    EXPECT_EQ(list.ToStringList(), (QStringList{"one", "two", "three", "four"}));
    EXPECT_EQ(list.Text(), "one\r\ntwo\r\nthree\r\nfour\r\n");
    list.SetText("a\n\nb");
    EXPECT_EQ(list.ToStringList(), (QStringList{"a", "", "b"}));
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Text(), "");
}

TEST(TStringList, UpdateBracketRaisesOneChange)
{
    TStringList list;
    int changes = 0;
    list.OnChange = [&](TStringList&) { ++changes; };
    list.Add("x");
    EXPECT_EQ(changes, 1);
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add("y");
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(changes, 1);
    list.EndUpdate();
    EXPECT_EQ(changes, 2);
    list.BeginUpdate();
    list.EndUpdate();   // nothing changed: no event
    list.EndUpdate();   // unpaired: ignored
    EXPECT_EQ(changes, 2);
    list.AddStrings(list);   // adding a list to itself doubles it
    EXPECT_EQ(list.ToStringList(), (QStringList{"y", "y"}));
    EXPECT_EQ(changes, 3);
}
