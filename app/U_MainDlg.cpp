#include "U_MainDlg.h"
#include "ui_U_MainDlg.h"

#include "C_LangPack.h"
#include "C_Messages.h"
#include "Lang_Components.h"
#include "TApplicationEvents.h"
#include "TRegistry.h"
#include "TStringList.h"
#include "U_DragDrop.h"
#include "U_FrameDlg.h"
#include "U_PreviewDlg.h"
#include "U_SettingsDlg.h"
#include "U_UnicodeUtils.h"
#include "U_about.h"
#include "error_display.h"
#include "file_names.h"
#include "framed_view.h"
#include "image_view.h"
#include "links.h"
#include "pdf_printer.h"
#include "photo_messages.h"
#include "print_frame.h"
#include "print_run.h"
#include "printer.h"
#include "printer_setup.h"
#include "recent_folders.h"
#include "sheet_printer.h"

#include <QApplication>
#include <QFileDialog>
#include <QStyle>
#include <QLabel>
#include <QMouseEvent>

#include <utility>

namespace {

QString askPdfFileName(QWidget* parent, const QString& suggested)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Print to PDF"), suggested,
                                        QStringLiteral("PDF (*.pdf)"));
}

// The wait cursor while a photo is read and decoded; gone again before an
// error message shows.
struct TBusyCursor {
    TBusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

QIcon glyph(QWidget* w, const char* themeName, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QLatin1String(themeName), w->style()->standardIcon(fallback));
}

}  // namespace

void RegisterInstallPath(const QString& Title, const QString& ExePath)
{
    TRegistry registry(TRootKey::LocalMachine);
    if (registry.OpenKey(QStringLiteral("SOFTWARE\\Varnel"), true))
        registry.WriteString(Title, ExePath);
}

TMainDlg::TMainDlg(QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::MainDlg>())
{
    ui->setupUi(this);
    // The central widget is the main window's inner part, not a control of the
    // form: without a name the language files see the controls on it directly.
    ui->centralWidget->setObjectName(QString());
    // Fixed single border: system menu and minimise box only.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(371, 333 + ui->MainMenu->sizeHint().height());

    ui->img->SetBitmapAlign(baTopLeft);
    ui->img->SetScale(1.0f);
    ui->img->SetScaleMode(smResize);
    ui->img->Loaded();
    ui->format_cmb->setCurrentIndex(0);

    ui->JvBitBtn1->setIcon(glyph(this, "document-open", QStyle::SP_DirOpenIcon));
    ui->translate_btn->setIcon(glyph(this, "preferences-desktop-locale", QStyle::SP_FileDialogInfoView));
    ui->opt_btn->setIcon(glyph(this, "document-properties", QStyle::SP_FileDialogDetailedView));
    ui->print_btn->setIcon(glyph(this, "document-print", QStyle::SP_DialogApplyButton));

    // The status bar's one panel; an unnamed inner part, not a component.
    FStatusPanel = new QLabel(ui->StatusBar);
    ui->StatusBar->addWidget(FStatusPanel, 1);

    AppEvt = new TApplicationEvents(this);
    AppEvt->setObjectName(QStringLiteral("AppEvt"));
    AppEvt->OnActivate = [this](TApplicationEvents&) { AppEvtActivate(); };

    // Created after AppEvt: at the first activation the newer component runs
    // first, so the language is chosen before the caption is set.
    langue = new TLangList(this);
    langue->setObjectName(QStringLiteral("langue"));
    langue->SetFilePrefix(QStringLiteral("QRL_"));
    langue->SetRegKey(QStringLiteral("Software\\Varnel\\Quorlo"));
    langue->AfterLanguageSwitch = [this](QObject*) { langueAfterLanguageSwitch(); };
    langue->Loaded();

    FJOD = new QFileDialog(this);
    FJOD->setObjectName(QStringLiteral("JOD"));
    FJOD->setAcceptMode(QFileDialog::AcceptOpen);
    FJOD->setFileMode(QFileDialog::ExistingFile);
    FJOD->setNameFilter(QStringLiteral("JPEG (*.jpg *.jpeg)"));

    RunPrinterSetup = RunPrintDialog;
    AskPdfFileName = askPdfFileName;
    RunFrameDialog = [this](TBitmap32& photo, const THeadRule& rule, std::optional<TFrame>& frame) {
        return FFrameDlg && FFrameDlg->Execute(photo, rule, frame);
    };

    connect(ui->JvBitBtn1, &QPushButton::clicked, this, &TMainDlg::open_btnClick);
    connect(ui->LoadPicture1, &QAction::triggered, this, &TMainDlg::open_btnClick);
    connect(ui->format_cmb, &QComboBox::currentIndexChanged, this, &TMainDlg::format_cmbChange);
    connect(ui->num_trk, &QSlider::valueChanged, this, &TMainDlg::num_trkChange);
    connect(ui->print_btn, &QPushButton::clicked, this, &TMainDlg::print_btnClick);
    connect(ui->opt_btn, &QPushButton::clicked, this, &TMainDlg::opt_btnClick);
    connect(ui->PrinterSettings1, &QAction::triggered, this, &TMainDlg::opt_btnClick);
    connect(ui->frame_btn, &QPushButton::clicked, this, &TMainDlg::frame_btnClick);
    connect(ui->Frame1, &QAction::triggered, this, &TMainDlg::frame_btnClick);
    // A double click on the photo frames it too.
    ui->img->installEventFilter(this);
    connect(ui->translate_btn, &QPushButton::clicked, this, &TMainDlg::translate_btnClick);
    connect(ui->Language1, &QAction::triggered, this, &TMainDlg::translate_btnClick);
    connect(ui->Help1, &QAction::triggered, this, &TMainDlg::Help1Click);
    connect(ui->About1, &QAction::triggered, this, &TMainDlg::About1Click);
    connect(ui->Exit1, &QAction::triggered, this, &TMainDlg::Exit1Click);

    // "Print Now" by keyboard. An action of the window, not the button's own
    // shortcut: a translated caption with a mnemonic would replace that.
    auto* printNow = new QAction(this);
    printNow->setShortcut(QKeySequence::Print);
    addAction(printNow);
    connect(printNow, &QAction::triggered, this, &TMainDlg::print_btnClick);

    // The messages the program shows, translated with the form.
    CreateMessageStorage(this);
    RegisterForm(this);
}

TMainDlg::~TMainDlg()
{
    FormDestroy();
}

TImage32& TMainDlg::img()
{
    return *ui->img;
}

QString TMainDlg::StatusText() const
{
    return FStatusPanel->text();
}

bool TMainDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->img && event->type() == QEvent::MouseButtonDblClick
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        frame_btnClick();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

const THeadRule& TMainDlg::Rule() const
{
    return HeadRule(static_cast<TPhotoFormat>(FFormat));
}

void TMainDlg::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!FShown) {
        FShown = true;
        TApplicationEvents::MainFormShown();
    }
}

QString TMainDlg::VersionCaption() const
{
    return QCoreApplication::applicationName() + QStringLiteral(" v")
           + GetFileVersionString(QCoreApplication::applicationFilePath());
}

void TMainDlg::AppEvtActivate()
{
    AppEvt->OnActivate = nullptr;   // once per process
    RegisterInstallPath(QCoreApplication::applicationName(), QCoreApplication::applicationFilePath());
    setWindowTitle(VersionCaption());
    ReportErrors(this, [&] {
        FSheetPrinter = std::make_unique<TIDPrinter>();
        FDroppedFiles = std::make_unique<TStringList>();
        RegisterDropTarget(this, FDroppedFiles.get(),
                           [this](TMyDropTarget& sender) { FilesDropped(sender); });
        UpdateLayout();
    });
    ui->img->Bitmap().SetStretchFilter(sfMitchell);
    ShowPrinterName();
    // The photo named on the command line, loaded as the open dialog loads one.
    if (!FStartPhoto.isEmpty())
        LoadPhoto(std::exchange(FStartPhoto, QString()));
}

void TMainDlg::ShowPrinterName()
{
    // A framed photo that prints blurred says so before it is printed; the
    // printer's name then stays in the panel's hint.
    ReportErrors(this, [&] {
        const QString name = Printer().name();
        const QString warning =
            FFrame ? LowResolutionWarning(ui->img->Bitmap(), FFrame, Rule()) : QString();
        FStatusPanel->setText(warning.isEmpty() ? name : warning);
        FStatusPanel->setToolTip(warning.isEmpty() ? QString() : name);
    });
}

void TMainDlg::ShowFrame()
{
    if (FFrame)
        ShowFrameInView(*ui->img, *FFrame);
    else
        ShowWholePhotoInView(*ui->img);
    ShowPrinterName();
}

void TMainDlg::UpdateLayout()
{
    if (!FSheetPrinter)
        return;
    FSheetPrinter->UpdateMetrics();
    ui->num_trk->setMaximum(FSheetPrinter->Capacity());
    ui->num_trk->setValue(ui->num_trk->maximum());
}

void TMainDlg::LoadPhoto(const QString& FileName)
{
    ReportErrors(this, [&] {
        const TBusyCursor busy;
        LoadPhotoFile(ui->img->Bitmap(), FileName);
        // Another photo: the frame of the last one means nothing here.
        FFrame.reset();
        ShowFrame();
        RememberPhotoFolder(FileName);
        if (FPreviewDlg)
            FPreviewDlg->SetPhotoFile(FileName);
    });
}

void TMainDlg::open_btnClick()
{
    FJOD->setDirectory(PhotoOpenFolder());
    if (FJOD->exec() != QDialog::Accepted || FJOD->selectedFiles().isEmpty())
        return;
    LoadPhoto(FJOD->selectedFiles().constFirst());
}

void TMainDlg::format_cmbChange()
{
    if (!FSheetPrinter)
        return;
    const int index = ui->format_cmb->currentIndex();
    ReportErrors(this, [&] {
        if (index >= 0 && index < static_cast<int>(kPhotoFormats.size())) {
            FSheetPrinter->SetPhotoSize(kPhotoFormats[index].WidthMm, kPhotoFormats[index].HeightMm);
            // The frame keeps its centre and head scale in the new shape.
            const THeadRule& from = Rule();
            FFormat = index;
            if (FFrame)
                FFrame = FollowFormat(*FFrame, from, Rule());
            ShowFrame();
        }
        // At the maximum the count follows the new capacity; below it, it
        // stays, unless the slider lowers it to a smaller maximum.
        QSlider* trk = ui->num_trk;
        const bool atMaximum = trk->value() == trk->maximum();
        trk->setMaximum(FSheetPrinter->Capacity());
        if (atMaximum)
            trk->setValue(trk->maximum());
    });
}

void TMainDlg::num_trkChange()
{
    ui->dynnum_lbl->setText(QString::asprintf("%d", ui->num_trk->value()));
}

void TMainDlg::print_btnClick()
{
    if (ui->img->Bitmap().Width() == 0 || !FSheetPrinter || !FPreviewDlg)
        return;   // nothing loaded: no preview
    bool rendered = false;
    ReportErrors(this, [&] {
        FSheetPrinter->SetCount(ui->num_trk->value());
        RenderPrintRun(this, *ui->img, *FSheetPrinter, FPreviewDlg->Page(), FFrame);
        FPreviewDlg->SetPageResolution(FSheetPrinter->DpiX(), FSheetPrinter->DpiY());
        rendered = true;
    });
    if (rendered && FPreviewDlg->Execute())
        PrintConfirmedSheet();
}

void TMainDlg::PrintConfirmedSheet()
{
    // The built-in PDF printer writes a file: the user names it first.
    if (auto* pdf = dynamic_cast<TPdfPrinter*>(&Printer())) {
        const QString suggested = FLastPdfName.isEmpty() ? QStringLiteral("sheet.pdf") : FLastPdfName;
        const QString name = AskPdfFileName ? AskPdfFileName(this, suggested) : QString();
        if (name.isEmpty())
            return;
        FLastPdfName = name;
        pdf->setOutputFileName(name);
    }
    ReportErrors(this, [&] {
        PrintOnPrinter(Printer().name(), [&] { PrintSheetShowingProgress(this, *FSheetPrinter); });
    });
}

void TMainDlg::opt_btnClick()
{
    bool confirmed = false;
    ReportErrors(this, [&] { confirmed = RunPrinterSetup && RunPrinterSetup(this); });
    if (confirmed)
        ReportErrors(this, [&] { UpdateLayout(); });
    ShowPrinterName();
}

void TMainDlg::frame_btnClick()
{
    TBitmap32& photo = ui->img->Bitmap();
    if (photo.Empty() || !RunFrameDialog)
        return;   // nothing loaded: nothing to frame
    std::optional<TFrame> frame = FFrame;
    bool chosen = false;
    ReportErrors(this, [&] { chosen = RunFrameDialog(photo, Rule(), frame); });
    if (!chosen)
        return;
    FFrame = frame;
    photo.SetStretchFilter(sfMitchell);   // a turned photo is a new bitmap
    ShowFrame();
}

void TMainDlg::translate_btnClick()
{
    if (FSettingsDlg)
        FSettingsDlg->Execute();
}

void TMainDlg::langueAfterLanguageSwitch()
{
    setWindowTitle(VersionCaption());
}

void TMainDlg::Help1Click()
{
    OpenAddressOrShowIt(this, Links::kHelp);
}

void TMainDlg::About1Click()
{
    if (FAboutDlg)
        FAboutDlg->Execute();
}

void TMainDlg::Exit1Click()
{
    close();
}

void TMainDlg::FormDestroy()
{
    FSheetPrinter.reset();
    RevokeDropTarget(this);
    FDroppedFiles.reset();
}

void TMainDlg::FilesDropped(TMyDropTarget&)
{
    if (!FDroppedFiles || FDroppedFiles->IsEmpty())
        return;
    const QString name = FDroppedFiles->Strings(0);
    // Emptied in every case, also when the photo does not load.
    FDroppedFiles->Clear();
    if (HasJpegExtension(name))
        LoadPhoto(name);
}
