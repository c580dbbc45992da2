#include "test_forms.h"

#include "lang_properties.h"

#include <QVBoxLayout>

TestForms::TestForms()
{
    MainDlg = std::make_unique<QDialog>();
    MainDlg->setObjectName("MainDlg");
    MainDlg->setFont(QFont("MS Sans Serif", 8));
    auto* layout = new QVBoxLayout(MainDlg.get());
    MainMenu = new QMenuBar(MainDlg.get());
    MainMenu->setObjectName("MainMenu");
    File1 = MainMenu->addMenu("File");
    File1->setObjectName("File1");
    LoadPicture1 = new QAction("Load Picture...", MainDlg.get());
    LoadPicture1->setObjectName("LoadPicture1");
    Exit1 = new QAction("Exit", MainDlg.get());
    Exit1->setObjectName("Exit1");
    File1->addAction(LoadPicture1);
    File1->addAction(Exit1);
    layout->setMenuBar(MainMenu);

    preview_grp = new QGroupBox("Photo", MainDlg.get());
    preview_grp->setObjectName("preview_grp");
    auto* previewLayout = new QVBoxLayout(preview_grp);
    img = new QWidget(preview_grp);
    img->setObjectName("img");
    JvBitBtn1 = new QPushButton("Load Picture", preview_grp);
    JvBitBtn1->setObjectName("JvBitBtn1");
    previewLayout->addWidget(img);
    previewLayout->addWidget(JvBitBtn1);
    layout->addWidget(preview_grp);

    opt_grp = new QGroupBox("Options", MainDlg.get());
    opt_grp->setObjectName("opt_grp");
    // An unnamed container between the group and its controls: nesting must
    // not show in the paths.
    auto* holder = new QWidget(opt_grp);
    format_cmb = new QComboBox(holder);
    format_cmb->setObjectName("format_cmb");
    format_cmb->addItems({"35 x 45 mm (France)", "2 x 2 in. (US)", "1.8 x 2.2 in. (Canada)"});
    num_lbl = new QLabel("Number of pictures :", holder);
    num_lbl->setObjectName("num_lbl");
    dynnum_lbl = new QLabel(holder);
    dynnum_lbl->setObjectName("dynnum_lbl");
    blank_lbl = new QLabel("   ", holder);
    blank_lbl->setObjectName("blank_lbl");
    layout->addWidget(opt_grp);

    print_btn = new QPushButton("Print Now", MainDlg.get());
    print_btn->setObjectName("print_btn");
    print_btn->setToolTip("Print the sheet");
    QFont bold("MS Sans Serif", 8);
    bold.setBold(true);
    print_btn->setFont(bold);
    notes_mem = new QPlainTextEdit("first\nsecond", MainDlg.get());
    notes_mem->setObjectName("notes_mem");
    sizes_lst = new QListWidget(MainDlg.get());
    sizes_lst->setObjectName("sizes_lst");
    sizes_lst->addItems({"small", "large"});
    StatusBar = new QStatusBar(MainDlg.get());
    StatusBar->setObjectName("StatusBar");
    layout->addWidget(print_btn);

    AboutDlg = std::make_unique<QDialog>();
    AboutDlg->setObjectName("AboutDlg");
    AboutDlg->setWindowTitle("About");
    AboutDlg->setFont(QFont("MS Sans Serif", 8));
    aboutImg = new QLabel("banner", AboutDlg.get());
    aboutImg->setObjectName("img");
    ok_btn = new QPushButton("Ok", AboutDlg.get());
    ok_btn->setObjectName("ok_btn");
    TS_about = new TTextStorage(AboutDlg.get(), "TS_about", {"About", "Application Name :", "Version :", "unused"});

    Root.AddForm(MainDlg.get());
    Root.AddForm(AboutDlg.get());
}

TestForms::~TestForms() = default;

QString TestForms::Snapshot() const
{
    QString s;
    for (QWidget* form : Root.Forms()) {
        QList<QObject*> objects{form};
        objects += OwnedComponents(form);
        for (QObject* o : objects) {
            const TPublishedProperties* p = PublishedProperties(o);
            s += o->objectName() + '|';
            if (!p)
                continue;
            if (p->Caption)
                s += p->Caption.Get(o) + '|';
            if (p->Text)
                s += p->Text.Get(o) + '|';
            if (p->Hint)
                s += p->Hint.Get(o) + '|';
            if (p->ShowHint)
                s += QString::number(p->ShowHint.Get(o)) + '|';
            if (p->Items)
                s += p->Items.Get(o).value_or(QStringList{"-"}).join('/') + '|';
            if (p->Lines)
                s += p->Lines.Get(o).value_or(QStringList{"-"}).join('/') + '|';
            if (p->ItemIndex)
                s += QString::number(p->ItemIndex.Get(o)) + '|';
            if (p->Font) {
                const TFontRecord f = p->Font.Get(o);
                s += QStringLiteral("%1,%2,%3|").arg(f.Name).arg(f.Size).arg(f.Charset);
            }
            s += '\n';
        }
    }
    return s;
}
