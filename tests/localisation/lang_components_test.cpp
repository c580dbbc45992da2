#include "lang_components.h"

#include "lang_properties.h"
#include "test_forms.h"

#include <QFileDialog>

#include <gtest/gtest.h>

namespace {

QStringList walk(QObject* root, const TStringList* excluded = nullptr)
{
    TStringList list;
    CollectComponents(QString(), list, excluded, root);
    for (int i = 0; i < list.Count(); ++i)
        EXPECT_EQ(list.Object(i)->objectName(), list[i].section('.', -1));
    return list.ToStringList();
}

}  // namespace

TEST(CollectComponents, PathsInCreationOrderWhateverTheNesting)
{
    TestForms f;
    // Inner parts of Qt widgets (the list's viewport, the combo's popup) and a
    // dialog parented to the form are not components of it.
    auto* dialog = new QDialog(f.MainDlg.get());
    dialog->setObjectName("SettingsDlg");
    auto* inner = new QPushButton("inner", dialog);
    inner->setObjectName("inner_btn");
    f.format_cmb->showPopup();
    f.format_cmb->hidePopup();
    EXPECT_EQ(walk(&f.Root),
              (QStringList{"MainDlg", "MainDlg.MainMenu", "MainDlg.File1", "MainDlg.LoadPicture1", "MainDlg.Exit1",
                           "MainDlg.preview_grp", "MainDlg.img", "MainDlg.JvBitBtn1", "MainDlg.opt_grp",
                           "MainDlg.format_cmb", "MainDlg.num_lbl", "MainDlg.dynnum_lbl", "MainDlg.blank_lbl",
                           "MainDlg.print_btn", "MainDlg.notes_mem", "MainDlg.sizes_lst", "MainDlg.StatusBar",
                           "AboutDlg", "AboutDlg.img", "AboutDlg.ok_btn", "AboutDlg.TS_about"}));
    // The dialog joins as a form of its own once registered.
    f.Root.AddForm(dialog);
    EXPECT_EQ(walk(&f.Root).mid(21), (QStringList{"SettingsDlg", "SettingsDlg.inner_btn"}));
    // A form as the root gives the same paths; a destroyed form leaves the root.
    EXPECT_EQ(walk(f.AboutDlg.get()), (QStringList{"AboutDlg", "AboutDlg.img", "AboutDlg.ok_btn", "AboutDlg.TS_about"}));
    f.AboutDlg.reset();
    EXPECT_EQ(f.Root.Forms().size(), 2);
    EXPECT_EQ(f.Root.MainForm(), f.MainDlg.get());
}

TEST(CollectComponents, ExcludedNamesAndPaths)
{
    TestForms f;
    TStringList excluded;
    excluded.SetSorted(true);
    excluded.Add("IMG");
    QStringList paths = walk(&f.Root, &excluded);
    EXPECT_FALSE(paths.contains("MainDlg.img"));
    EXPECT_FALSE(paths.contains("AboutDlg.img"));

    excluded.Clear();
    excluded.Add("maindlg.img");
    paths = walk(&f.Root, &excluded);
    EXPECT_FALSE(paths.contains("MainDlg.img"));
    EXPECT_TRUE(paths.contains("AboutDlg.img"));

    // An excluded form is not listed, but what it owns still is.
    excluded.Add("MainDlg");
    paths = walk(&f.Root, &excluded);
    EXPECT_FALSE(paths.contains("MainDlg"));
    EXPECT_TRUE(paths.contains("MainDlg.print_btn"));
}

TEST(PublishedProperties, TableByClass)
{
    TestForms f;
    EXPECT_TRUE(PublishesProperty(f.num_lbl, "ALIGNMENT"));
    EXPECT_TRUE(PublishesProperty(f.num_lbl, "layout"));
    EXPECT_FALSE(PublishesProperty(f.num_lbl, "Items"));
    EXPECT_FALSE(PublishesProperty(f.num_lbl, "Colour"));
    EXPECT_TRUE(PublishesProperty(f.format_cmb, "Text"));
    EXPECT_FALSE(PublishesProperty(f.format_cmb, "Caption"));
    EXPECT_TRUE(PublishesProperty(f.LoadPicture1, "Caption"));
    EXPECT_FALSE(PublishesProperty(f.LoadPicture1, "ShowHint"));
    EXPECT_TRUE(PublishesProperty(f.TS_about, "Items"));
    EXPECT_FALSE(PublishesProperty(f.TS_about, "Font"));
    EXPECT_FALSE(PublishesProperty(f.MainMenu, "Caption"));

    const TPublishedProperties* label = PublishedProperties(f.num_lbl);
    label->Alignment.Set(f.num_lbl, 1);
    label->Layout.Set(f.num_lbl, 2);
    EXPECT_EQ(f.num_lbl->alignment(), Qt::AlignRight | Qt::AlignBottom);
    EXPECT_EQ(label->Alignment.Get(f.num_lbl), 1);

    const TPublishedProperties* menu = PublishedProperties(f.File1);
    EXPECT_EQ(menu->Caption.Get(f.File1), "File");
    menu->Caption.Set(f.File1, "Fichier");
    EXPECT_EQ(f.File1->menuAction()->text(), "Fichier");

    // A memo's lines; an empty memo holds none.
    const TPublishedProperties* memo = PublishedProperties(f.notes_mem);
    EXPECT_EQ(*memo->Lines.Get(f.notes_mem), (QStringList{"first", "second"}));
    f.notes_mem->clear();
    EXPECT_TRUE(memo->Lines.Get(f.notes_mem)->isEmpty());
}

TEST(PublishedProperties, ShowHintParksTheToolTip)
{
    TestForms f;
    EXPECT_TRUE(ShowHint(f.print_btn));   // no property: shown
    SetShowHint(f.print_btn, false);
    EXPECT_TRUE(f.print_btn->toolTip().isEmpty());
    EXPECT_EQ(Hint(f.print_btn), "Print the sheet");
    SetHint(f.print_btn, "Imprimer");
    EXPECT_TRUE(f.print_btn->toolTip().isEmpty());
    SetShowHint(f.print_btn, true);
    EXPECT_EQ(f.print_btn->toolTip(), "Imprimer");

    // As a form description sets it.
    f.JvBitBtn1->setToolTip("Open");
    f.JvBitBtn1->setProperty("ShowHint", false);
    ApplyShowHintProperties(f.MainDlg.get());
    EXPECT_TRUE(f.JvBitBtn1->toolTip().isEmpty());
    EXPECT_EQ(Hint(f.JvBitBtn1), "Open");
}

TEST(PublishedProperties, FontCharsetFollowsTheParent)
{
    TestForms f;
    EXPECT_EQ(FontCharset(f.num_lbl), Charset::Default);
    SetFontCharset(f.MainDlg.get(), Charset::Russian);
    EXPECT_EQ(FontCharset(f.num_lbl), Charset::Russian);
    EXPECT_EQ(FontCharset(f.AboutDlg.get()), Charset::Default);
    // A dialog parented to the form is a window of its own.
    QDialog dialog(f.MainDlg.get());
    EXPECT_EQ(FontCharset(&dialog), Charset::Default);

    const TFontRecord font = PublishedProperties(f.print_btn)->Font.Get(f.print_btn);
    EXPECT_EQ(font, (TFontRecord{"MS Sans Serif", 8, Charset::Russian}));
}

TEST(CollectComponents, ProgramFormsRegisterInCreationOrder)
{
    TApplicationForms& application = TApplicationForms::Application();
    EXPECT_EQ(application.MainForm(), nullptr);
    {
        QDialog mainDlg;
        mainDlg.setObjectName("MainDlg");
        auto* btn = new QPushButton("Go", &mainDlg);
        btn->setObjectName("go_btn");
        btn->setToolTip("tip");
        btn->setProperty("ShowHint", false);
        QDialog settingsDlg(&mainDlg);   // parented, as dialogs often are
        settingsDlg.setObjectName("SettingsDlg");
        RegisterForm(&mainDlg);
        RegisterForm(&settingsDlg);
        RegisterForm(&mainDlg);   // once only
        EXPECT_EQ(application.Forms(), (QList<QWidget*>{&mainDlg, &settingsDlg}));
        EXPECT_EQ(application.MainForm(), &mainDlg);
        EXPECT_TRUE(btn->toolTip().isEmpty());
        EXPECT_EQ(walk(&application), (QStringList{"MainDlg", "MainDlg.go_btn", "SettingsDlg"}));
    }
    EXPECT_TRUE(application.Forms().isEmpty());
}
