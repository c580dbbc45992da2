#include "U_PreviewDlg.h"
#include "ui_U_PreviewDlg.h"

#include "lang_components.h"
#include "error_display.h"
#include "messages.h"
#include "on_screen.h"
#include "file_names.h"
#include "image_view.h"
#include "photo_sheet.h"
#include "photo_messages.h"
#include "print_run.h"
#include "recent_folders.h"
#include "sheet_render.h"

#include <QFileDialog>
#include <QStyle>
#include <QToolButton>

QString JpegSaveName(const QString& FileName)
{
    return HasJpegExtension(FileName) ? FileName : FileName + QStringLiteral(".jpg");
}

Tpreviewdlg::Tpreviewdlg(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::previewdlg>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(427, 656);

    ui->img->SetBitmapAlign(baTopLeft);
    ui->img->SetScale(1.0f);
    ui->img->SetScaleMode(smResize);
    ui->img->Loaded();
    ui->saveimg_btn->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    ui->print_btn->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));

    // Saving writes a new file, whatever the open/save wording of the platform.
    FJOD = new QFileDialog(this);
    FJOD->setObjectName(QStringLiteral("JOD"));
    FJOD->setAcceptMode(QFileDialog::AcceptSave);
    FJOD->setFileMode(QFileDialog::AnyFile);
    FJOD->setNameFilter(QStringLiteral("JPEG (*.jpg *.jpeg)"));
    FJOD->setOption(QFileDialog::DontConfirmOverwrite);
    FJOD->setOption(QFileDialog::ReadOnly, false);

    connect(ui->saveimg_btn, &QPushButton::clicked, this, &Tpreviewdlg::saveimg_btnClick);
    connect(ui->print_btn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->prev_btn, &QToolButton::clicked, this, [this] {
        ReportErrors(this, [&] { ShowPage(FPageIndex - 1); });
    });
    connect(ui->next_btn, &QToolButton::clicked, this, [this] {
        ReportErrors(this, [&] { ShowPage(FPageIndex + 1); });
    });
    SetSheet(nullptr);

    RegisterForm(this);
}

Tpreviewdlg::~Tpreviewdlg() = default;

bool Tpreviewdlg::Execute()
{
    PlaceOnScreen(*this, parentWidget());
    return exec() == QDialog::Accepted;
}

TBitmap32& Tpreviewdlg::Page()
{
    return ui->img->Bitmap();
}

TImage32& Tpreviewdlg::img()
{
    return *ui->img;
}

void Tpreviewdlg::SetSheet(TPhotoSheet* Sheet)
{
    FSheet = Sheet;
    FSavedFiles.clear();
    FPageIndex = 0;
    FPageCount = Sheet ? std::max(Sheet->PageCount(), 1) : 1;
    // One page looks as it always did: no page buttons.
    const bool several = FPageCount > 1;
    ui->page_lbl->setVisible(several);
    ui->prev_btn->setVisible(several);
    ui->next_btn->setVisible(several);
}

void Tpreviewdlg::ShowPage(int Index)
{
    if (!FSheet || Index < 0 || Index >= FPageCount)
        return;
    RenderSheetPageShowingProgress(this, *FSheet, Index, Page());
    FPageIndex = Index;
    ui->page_lbl->setText(MessageText(Msg::kPageOfPages).arg(Index + 1).arg(FPageCount));
    ui->prev_btn->setEnabled(Index > 0);
    ui->next_btn->setEnabled(Index + 1 < FPageCount);
    ui->img->Changed();
}

void Tpreviewdlg::saveimg_btnClick()
{
    FJOD->setDirectory(PageSaveFolder(FPhotoFile));
    if (!FLastName.isEmpty())
        FJOD->selectFile(FLastName);   // the last name, extended, is offered again
    if (FJOD->exec() != QDialog::Accepted || FJOD->selectedFiles().isEmpty())
        return;
    const QString fileName = JpegSaveName(FJOD->selectedFiles().constFirst());
    FLastName = fileName;
    FSavedFiles.clear();
    ReportErrors(this, [&] {
        if (!FSheet) {
            SavePageFile(fileName, [&] { SavePageShowingProgress(this, Page(), fileName, FDpiX, FDpiY); });
            FSavedFiles << fileName;
        } else {
            // Every page, not only the one shown: page.jpg, or page-1.jpg,
            // page-2.jpg, ... for several, all written or none.
            QStringList names;
            for (int page = 1; page <= FPageCount; ++page)
                names << PageFileName(fileName, page, FPageCount);
            SavePageFile(fileName, [&] { SaveSheetPagesShowingProgress(this, *FSheet, names); });
            FSavedFiles = names;
        }
        RememberPageFolder(fileName);
    });
}
