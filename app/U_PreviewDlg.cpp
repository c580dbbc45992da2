#include "U_PreviewDlg.h"
#include "ui_U_PreviewDlg.h"

#include "lang_components.h"
#include "error_display.h"
#include "messages.h"
#include "on_screen.h"
#include "file_names.h"
#include "page_view.h"
#include "printer_device.h"
#include "photo_sheet.h"
#include "photo_messages.h"
#include "print_run.h"
#include "recent_folders.h"
#include "sheet_render.h"
#include "window_sizes.h"
#include "wrapped_labels.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLocale>
#include <QPageSize>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

// The name the window's size is remembered by, and its first size.
const QString kWindowName = QStringLiteral("Preview");
constexpr int kPreviewWidth = 560;
constexpr int kPreviewHeight = 720;

}  // namespace

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
                   | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);

    ui->img->SetPage(&FPage);
    ui->page_scr->viewport()->installEventFilter(this);
    ui->saveimg_btn->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    ui->print_btn->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    ui->close_btn->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));

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
    connect(ui->close_btn, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->zoom_trk, &QSlider::valueChanged, this, &Tpreviewdlg::zoom_trkChange);
    connect(ui->img, &TPageView::ZoomAsked, this,
            [this](int steps) { ui->zoom_trk->setValue(ui->zoom_trk->value() + steps); });
    connect(ui->prev_btn, &QToolButton::clicked, this, [this] {
        ReportErrors(this, [&] { ShowPage(FPageIndex - 1); });
    });
    connect(ui->next_btn, &QToolButton::clicked, this, [this] {
        ReportErrors(this, [&] { ShowPage(FPageIndex + 1); });
    });
    SetSheet(nullptr);

    KeepWrappedLabelsWhole(*this);
    RegisterForm(this);
}

Tpreviewdlg::~Tpreviewdlg() = default;

bool Tpreviewdlg::Execute()
{
    ui->status_lbl->clear();
    RestoreWindowSize(*this, kWindowName, {kPreviewWidth, kPreviewHeight}, parentWidget());
    PlaceOnScreen(*this, parentWidget());
    ui->zoom_trk->setValue(0);   // the whole page first
    showZoom();
    const bool print = exec() == QDialog::Accepted;
    RememberWindowSize(kWindowName, size());
    return print;
}

TBitmap32& Tpreviewdlg::Page()
{
    return FPage;
}

void Tpreviewdlg::SetPrinter(const TPrinterDevice& Printer)
{
    const int dpiX = Printer.Caps(TDeviceCap::LogPixelsX);
    const int dpiY = Printer.Caps(TDeviceCap::LogPixelsY);
    QString paper;
    if (dpiX > 0 && dpiY > 0) {
        // The printable area and its offsets, the same on both sides: the paper.
        const QSizeF mm((Printer.Caps(TDeviceCap::HorzRes) + 2 * Printer.Caps(TDeviceCap::PhysicalOffsetX)) * 25.4 / dpiX,
                        (Printer.Caps(TDeviceCap::VertRes) + 2 * Printer.Caps(TDeviceCap::PhysicalOffsetY)) * 25.4 / dpiY);
        paper = PaperText(mm);
    }
    ui->paper_lbl->setText(MessageText(Msg::kPaperAndPrinter).arg(paper, ShownPrinterName(Printer.Name())));
}

QString PaperText(const QSizeF& Millimetres)
{
    const QLocale locale;
    const QString size = MessageText(Msg::kPaperSize)
                             .arg(locale.toString(std::lround(Millimetres.width())),
                                  locale.toString(std::lround(Millimetres.height())));
    // A paper of a standard size is named, in either orientation.
    const QSizeF portrait(std::min(Millimetres.width(), Millimetres.height()),
                          std::max(Millimetres.width(), Millimetres.height()));
    const QPageSize::PageSizeId id = QPageSize::id(portrait, QPageSize::Millimeter, QPageSize::FuzzyMatch);
    if (id == QPageSize::Custom)
        return size;
    return QPageSize::name(id) + QStringLiteral(" (") + size + u')';
}

double Tpreviewdlg::Zoom() const
{
    return ui->img->Scale();
}

void Tpreviewdlg::zoom_trkChange(int)
{
    showZoom();
}

// Step 0 fits the whole page into the view; each step enlarges by a third
// of a doubling, up to two screen pixels for a page pixel.
void Tpreviewdlg::showZoom()
{
    const QSize room = ui->page_scr->viewport()->size();
    if (FPage.Empty() || room.isEmpty())
        return;
    const double fit = std::min(static_cast<double>(room.width()) / FPage.Width(),
                                static_cast<double>(room.height()) / FPage.Height());
    const QSignalBlocker quiet(ui->zoom_trk);
    ui->zoom_trk->setMaximum(std::max(0, static_cast<int>(std::ceil(3 * std::log2(2 / fit)))));
    // The point of the page in the middle of the view stays there.
    QScrollBar* across = ui->page_scr->horizontalScrollBar();
    QScrollBar* down = ui->page_scr->verticalScrollBar();
    const double before = ui->img->Scale();
    const QPointF middle((across->value() + room.width() / 2.0) / before, (down->value() + room.height() / 2.0) / before);
    ui->img->SetScale(fit * std::pow(2.0, ui->zoom_trk->value() / 3.0));
    across->setValue(static_cast<int>(std::lround(middle.x() * ui->img->Scale() - room.width() / 2.0)));
    down->setValue(static_cast<int>(std::lround(middle.y() * ui->img->Scale() - room.height() / 2.0)));
}

bool Tpreviewdlg::eventFilter(QObject* watched, QEvent* event)
{
    // The whole page keeps fitting a view that changes its size.
    if (watched == ui->page_scr->viewport() && event->type() == QEvent::Resize && ui->zoom_trk->value() == 0)
        showZoom();
    return QDialog::eventFilter(watched, event);
}

void Tpreviewdlg::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Plus || key == Qt::Key_Equal || key == Qt::Key_Minus) {
        ui->zoom_trk->setValue(ui->zoom_trk->value() + (key == Qt::Key_Minus ? -1 : 1));
        return;
    }
    QDialog::keyPressEvent(event);
}

void Tpreviewdlg::PageChanged()
{
    showZoom();
    ui->img->Changed();
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
    PageChanged();
}

void Tpreviewdlg::saveimg_btnClick()
{
    FJOD->setDirectory(PageSaveFolder(FPhotoFile));
    if (!FLastName.isEmpty())
        FJOD->selectFile(FLastName);   // the last name, extended, is offered again
    else if (!FPhotoFile.isEmpty())
        FJOD->selectFile(SheetSaveName(FPhotoFile));
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
        // Where it went: the first file in full, the others beside it.
        QStringList shown{QDir::toNativeSeparators(QFileInfo(FSavedFiles.constFirst()).absoluteFilePath())};
        for (qsizetype i = 1; i < FSavedFiles.size(); ++i)
            shown << QFileInfo(FSavedFiles[i]).fileName();
        ui->status_lbl->setText(MessageText(Msg::kPagesSaved).arg(shown.join(QStringLiteral(", "))));
    });
}

QString SheetSaveName(const QString& PhotoFile)
{
    return QFileInfo(PhotoFile).completeBaseName() + QStringLiteral("-sheet.jpg");
}
