#include "U_MainDlg.h"
#include "ui_U_MainDlg.h"

#include "C_LangList.h"
#include "messages.h"
#include "message_storage.h"
#include "lang_components.h"
#include "application_events.h"
#include "registry.h"
#include "string_list.h"
#include "U_DragDrop.h"
#include "U_DigitalPhotoDlg.h"
#include "U_FrameDlg.h"
#include "check_report.h"
#include "country_names.h"
#include "photo_check.h"
#include "U_PreviewDlg.h"
#include "U_SettingsDlg.h"
#include "U_SheetOptionsDlg.h"
#include "U_UnicodeUtils.h"
#include "U_about.h"
#include "U_CheckDlg.h"
#include "error_display.h"
#include "file_names.h"
#include "format_choice.h"
#include "framed_view.h"
#include "image_view.h"
#include "pdf_printer.h"
#include "photo_lab_printer.h"
#include "photo_messages.h"
#include "photo_sheet.h"
#include "picture.h"
#include "print_frame.h"
#include "print_run.h"
#include "printer.h"
#include "printer_setup.h"
#include "qt_translations.h"
#include "recent_folders.h"
#include "sheet_printer.h"
#include "packed_layout.h"
#include "sheet_settings.h"
#include "sheet_formats.h"
#include "sheet_render.h"
#include "turned_photo.h"
#include "user_guide.h"
#include "window_sizes.h"
#include "wrapped_labels.h"

#include <QApplication>
#include <QFileDialog>
#include <QDir>
#include <QFileInfo>
#include <QStyle>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMouseEvent>
#include <QSignalBlocker>

#include <utility>

namespace {

// The name the window's size is remembered by.
const QString kWindowName = QStringLiteral("Main");

QString askPdfFileName(QWidget* parent, const QString& suggested)
{
    return QFileDialog::getSaveFileName(parent, MessageText(Msg::kPrintToPdf), suggested,
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
    : QMainWindow(parent),
      ui(std::make_unique<Ui::MainDlg>()),
      FFormats(BuiltInFormats()),
      FRule(HeadRule(TPhotoFormat::France35x45))
{
    ui->setupUi(this);
    setUpWindow();
    createStatusLine();
    createComponents();
    createDialogs();
    connectControls();
    ShowActions();
    // The messages the program shows, translated with the form.
    CreateMessageStorage(this);
    RegisterForm(this);
}

void TMainDlg::setUpWindow()
{
    // The central widget is the main window's inner part, not a control of the
    // form: without a name the language files see the controls on it directly.
    ui->centralWidget->setObjectName(QString());
    // The sheet's list holds file names, nothing to translate: unnamed, the
    // language files never see (or empty) it.
    ui->sheet_lst->setObjectName(QString());
    // The window grows and the photo with it; the form's layouts keep every
    // control at its size and the status line below them.
    RestoreWindowSize(*this, kWindowName, {kMainWindowWidth, kMainWindowHeight});

    ui->img->SetBitmapAlign(baCenter);
    ui->img->SetScale(1.0f);
    ui->img->SetScaleMode(smResize);
    ui->img->Loaded();
    ui->format_cmb->setCurrentIndex(0);

    ui->JvBitBtn1->setIcon(glyph(this, "document-open", QStyle::SP_DirOpenIcon));
    ui->translate_btn->setIcon(glyph(this, "preferences-desktop-locale", QStyle::SP_FileDialogInfoView));
    ui->opt_btn->setIcon(glyph(this, "document-properties", QStyle::SP_FileDialogDetailedView));
    ui->print_btn->setIcon(glyph(this, "document-print", QStyle::SP_DialogApplyButton));
}

void TMainDlg::createStatusLine()
{
    // The status bar's panels; unnamed inner parts, not components. The
    // check's summary in the first is a link to its measures, which Tab
    // reaches too.
    FStatusPanel = new QLabel(ui->StatusBar);
    FStatusPanel->setWordWrap(true);
    FStatusPanel->setTextFormat(Qt::RichText);
    FStatusPanel->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    FStatusPanel->setFocusPolicy(Qt::TabFocus);
    FStatusPanel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FStatusPanel->installEventFilter(this);
    ui->StatusBar->addWidget(FStatusPanel, 1);
    FSizePanel = new QLabel(ui->StatusBar);
    FSizePanel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    ui->StatusBar->addPermanentWidget(FSizePanel);
    fitStatusLine();
}

void TMainDlg::setStatus(const QString& Text, const QString& Link, const QString& ToolTip)
{
    FStatusText = Text;
    if (!Link.isEmpty())
        FStatusText += (Text.isEmpty() ? QString() : QStringLiteral(" ")) + Link;
    QString html = Text.toHtmlEscaped();
    if (!Link.isEmpty())
        html += (Text.isEmpty() ? QString() : QStringLiteral(" "))
                + QStringLiteral("<a href=\"check\">%1</a>").arg(Link.toHtmlEscaped());
    FStatusPanel->setText(html);
    FStatusPanel->setToolTip(ToolTip);
    fitStatusLine();
}

void TMainDlg::fitStatusLine()
{
    // Two lines at least, so that the window does not jump with every
    // warning; more when the text takes more.
    FitWrappedLabel(*FStatusPanel, 2);
}

void TMainDlg::createComponents()
{
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
}

void TMainDlg::createDialogs()
{
    FJOD = new QFileDialog(this);
    FJOD->setObjectName(QStringLiteral("JOD"));
    FJOD->setAcceptMode(QFileDialog::AcceptOpen);
    FJOD->setFileMode(QFileDialog::ExistingFile);
    QStringList patterns;
    for (const QString& extension : PhotoExtensions())
        patterns << QStringLiteral("*.") + extension;
    FJOD->setNameFilter(QStringLiteral("JPEG, PNG, HEIC (%1)").arg(patterns.join(u' ')));

    RunPrinterSetup = RunPrintDialog;
    AskPdfFileName = askPdfFileName;
    RunFrameDialog = [this](TBitmap32& photo, const THeadRule& rule, std::optional<TFrame>& frame,
                            std::optional<TColor32>& background, double& turn) {
        if (!FFrameDlg)
            return false;
        FFrameDlg->SetHeadLines(FHeadLines);
        // A photo framed by nobody yet opens framed round its face.
        const bool chosen = FFrameDlg->Execute(photo, rule, frame, background, !FFramed, &turn);
        if (chosen)
            FHeadLines = FFrameDlg->HeadLines();
        return chosen;
    };
}

void TMainDlg::connectControls()
{
    connect(ui->JvBitBtn1, &QPushButton::clicked, this, &TMainDlg::open_btnClick);
    connect(ui->LoadPicture1, &QAction::triggered, this, &TMainDlg::open_btnClick);
    connect(ui->format_cmb, &QComboBox::currentIndexChanged, this, &TMainDlg::format_cmbChange);
    connect(ui->num_trk, &QSlider::valueChanged, this, &TMainDlg::num_trkChange);
    connect(ui->print_btn, &QPushButton::clicked, this, &TMainDlg::print_btnClick);
    connect(ui->opt_btn, &QPushButton::clicked, this, &TMainDlg::opt_btnClick);
    connect(ui->PrinterSettings1, &QAction::triggered, this, &TMainDlg::opt_btnClick);
    connect(ui->frame_btn, &QPushButton::clicked, this, &TMainDlg::frame_btnClick);
    connect(ui->Frame1, &QAction::triggered, this, &TMainDlg::frame_btnClick);
    connect(ui->SheetOptions1, &QAction::triggered, this, &TMainDlg::SheetOptions1Click);
    connect(ui->add_btn, &QPushButton::clicked, this, &TMainDlg::AddToSheetClick);
    connect(ui->AddToSheet1, &QAction::triggered, this, &TMainDlg::AddToSheetClick);
    connect(ui->SaveDigital1, &QAction::triggered, this, &TMainDlg::SaveDigital1Click);
    connect(ui->remove_btn, &QPushButton::clicked, this, &TMainDlg::RemoveFromSheetClick);
    connect(ui->clear_btn, &QPushButton::clicked, this, &TMainDlg::ClearSheetClick);
    connect(ui->Check1, &QAction::triggered, this, &TMainDlg::Check1Click);
    connect(FStatusPanel, &QLabel::linkActivated, this, &TMainDlg::Check1Click);
    connect(ui->sheet_lst, &QListWidget::currentRowChanged, this, &TMainDlg::ShowActions);
    connect(ui->sheet_lst, &QListWidget::itemActivated, this, &TMainDlg::FrameSheetLine);
    auto* removeLine = new QAction(ui->sheet_lst);
    removeLine->setShortcut(QKeySequence::Delete);
    removeLine->setShortcutContext(Qt::WidgetShortcut);
    ui->sheet_lst->addAction(removeLine);
    connect(removeLine, &QAction::triggered, this, &TMainDlg::RemoveFromSheetClick);
    // A double click on the photo frames it too; a new size places it anew.
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
    return FStatusText;
}

QString TMainDlg::SizeText() const
{
    return FSizePanel->text();
}

bool TMainDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->img && event->type() == QEvent::MouseButtonDblClick
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        frame_btnClick();
        return true;
    }
    if (watched == ui->img && event->type() == QEvent::Resize)
        placePhoto();
    if (watched == FStatusPanel && event->type() == QEvent::Resize)
        fitStatusLine();
    return QMainWindow::eventFilter(watched, event);
}

void TMainDlg::SetSheetOptionsDialog(TSheetOptionsDlg* dialog)
{
    if (FSheetOptionsDlg)
        disconnect(FSheetOptionsDlg, nullptr, this, nullptr);
    FSheetOptionsDlg = dialog;
    if (dialog)
        connect(dialog, &TSheetOptionsDlg::CalibrationPageRequested, this, &TMainDlg::PrintCalibration);
}

void TMainDlg::closeEvent(QCloseEvent* event)
{
    RememberWindowSize(kWindowName, isMaximized() || isFullScreen() ? normalGeometry().size() : size());
    QMainWindow::closeEvent(event);
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
        // The photo lab the last sheets went to, as "Print on" chose it.
        if (std::unique_ptr<TPhotoLabPrinter> lab = PhotoLabPrinterNamed(LoadPrintOn()))
            SetPrinter(std::move(lab));
        FSheetPrinter = std::make_unique<TIDPrinter>(Printer());
        FSheetPrinter->SetCutMarks(LoadCutMarks());
        FSheetPrinter->SetLayout(LoadSheetLayout());
        if (FFormat != 0)   // chosen before there was a printer
            FSheetPrinter->SetPhotoSize(FFormats[static_cast<std::size_t>(FFormat)].WidthMm,
                                        FFormats[static_cast<std::size_t>(FFormat)].HeightMm);
        FDroppedFiles = std::make_unique<TStringList>();
        RegisterDropTarget(this, FDroppedFiles.get(),
                           [this](TMyDropTarget& sender) { FilesDropped(sender); });
        UpdateLayout();
    });
    // After the language list's activation: the original-language file and
    // the translated form know only the form's own items.
    RebuildFormats();
    // The format chosen last time, found by its size: the first of that
    // size, so a built-in format comes before a document of its size.
    if (const std::optional<QSizeF> size = LoadChosenFormatSize()) {
        const auto same = [&](const TSheetFormat& f) {
            return std::abs(f.WidthMm - size->width()) < 0.05 && std::abs(f.HeightMm - size->height()) < 0.05;
        };
        if (const auto found = std::find_if(FFormats.begin(), FFormats.end(), same); found != FFormats.end())
            ui->format_cmb->setCurrentIndex(found->Index);
    }
    ui->img->Bitmap().SetStretchFilter(sfMitchell);
    ShowPrinterName();
    // The photo named on the command line, loaded as the open dialog loads one.
    if (!FStartPhoto.isEmpty())
        LoadPhoto(std::exchange(FStartPhoto, QString()));
}

void TMainDlg::ShowPrinterName()
{
    const TBitmap32& photo = ui->img->Bitmap();
    const TSheetFormat& format = FFormats[static_cast<std::size_t>(FFormat)];
    ui->img->setAccessibleName(photo.Empty() ? MessageText(Msg::kNoPhotoViewName)
                                             : MessageText(Msg::kPhotoViewName).arg(QFileInfo(FPhotoFile).fileName()));
    FSizePanel->setText(PrintedSizeText(format));
    // What the photo will look like printed is said before it is printed;
    // the printer's name then stays in the panel's hint. A framed photo has
    // the cell's shape, and a plain background fills the strip beside an
    // unframed one; a photo that prints blurred says so.
    ReportErrors(this, [&] {
        checkPhoto();
        const QString summary = FMeasures.empty() ? QString() : CheckSummary(FMeasures);
        const TStatusLine line =
            StatusLineFor(ShownPrinterName(Printer().Name()),
                          !FFrame && !plainBackground() && LeavesWhiteStrip(photo.Width(), photo.Height(), format),
                          FFrame ? LowResolutionWarning(photo, FFrame, Rule()) : QString(), ui->frame_btn->text(),
                          summary);
        // The summary comes last: a link to its measures.
        if (summary.isEmpty() || !line.Text.endsWith(summary))
            setStatus(line.Text, {}, line.ToolTip);
        else
            setStatus(line.Text.chopped(summary.size()).trimmed(), summary, line.ToolTip);
    });
    ui->Check1->setEnabled(!FMeasures.empty());
}

void TMainDlg::placePhoto()
{
    const TBitmap32* turned = FTurn != 0 ? &FTurned : nullptr;
    if (FFrame)
        ShowFrameInView(*ui->img, *FFrame, plainBackground(), turned);
    else
        ShowWholePhotoInView(*ui->img, plainBackground(), turned);
}

const TBitmap32& TMainDlg::seenPhoto() const
{
    return FTurn != 0 ? FTurned : ui->img->Bitmap();
}

void TMainDlg::setTurn(double Turn)
{
    FTurn = Turn;
    FTurned.Delete();
    if (Turn == 0)
        return;
    const TBusyCursor busy;
    TurnPhoto(ui->img->Bitmap(), Turn, FTurned);
    FTurned.SetStretchFilter(sfMitchell);
}

void TMainDlg::ShowFrame()
{
    placePhoto();
    ShowPrinterName();
}

TIDPrinter& TMainDlg::sheetPrinter()
{
    // The window's printer is the current one, which the print dialog may
    // have replaced since the last run.
    FSheetPrinter->SetPrinter(Printer());
    return *FSheetPrinter;
}

void TMainDlg::UpdateLayout()
{
    if (!FSheetPrinter)
        return;
    sheetPrinter().UpdateMetrics();
    ui->num_trk->setMaximum(FSheetPrinter->Capacity());
    ui->num_trk->setValue(ui->num_trk->maximum());
}

void TMainDlg::LoadPhoto(const QString& FileName)
{
    ReportErrors(this, [&] {
        TBitmap32 loaded;
        QString warning;
        {
            const TBusyCursor busy;
            warning = LoadPhotoFile(loaded, FileName);
        }
        // A photo cut short takes the window's place only when the user
        // says so; the photo that was there stays otherwise.
        if (!warning.isEmpty()
            && !AskQuestion(this, warning + QStringLiteral("\n\n") + MessageText(Msg::kUseCutPhoto),
                            MessageText(Msg::kUseIt), MessageText(Msg::kDoNotUseIt)))
            return;
        const TBusyCursor busy;
        TBitmap32& photo = ui->img->Bitmap();
        const TStretchFilter filter = photo.StretchFilter();
        photo.Assign(&loaded);
        photo.SetStretchFilter(filter);
        FAnalysis.reset();
        FPhotoFile = FileName;
        // Another photo: the frame, background and head lines of the last one
        // mean nothing here.
        FFrame.reset();
        FFramed = false;
        FBackground.reset();
        FHeadLines.reset();
        setTurn(0);
        analysePhoto();
        ShowFrame();
        RememberPhotoFolder(FileName);
        if (FPreviewDlg)
            FPreviewDlg->SetPhotoFile(FileName);
    });
    ShowActions();
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
    // A language switch passes the list through other items before it
    // restores the selection: the format stays what it was meanwhile.
    if (langue->Switching())
        return;
    const int index = ui->format_cmb->currentIndex();
    const bool chosen = index >= 0 && index < static_cast<int>(FFormats.size());
    if (chosen) {
        // The frame keeps its centre and head scale in the new shape.
        const THeadRule to = FramingRule(FFormats[static_cast<std::size_t>(index)]);
        if (FFrame)
            FFrame = FollowFormat(*FFrame, FRule, to);
        FSheetLines.FollowFormat(FRule, to);
        FFormat = index;
        FRule = to;
        SaveChosenFormatSize(FFormats[static_cast<std::size_t>(index)].WidthMm,
                             FFormats[static_cast<std::size_t>(index)].HeightMm);
    }
    if (!FSheetPrinter)
        return;
    ReportErrors(this, [&] {
        if (chosen) {
            sheetPrinter().SetPhotoSize(FFormats[static_cast<std::size_t>(index)].WidthMm,
                                        FFormats[static_cast<std::size_t>(index)].HeightMm);
            ShowFrame();
        }
        FollowCapacity();
    });
}

void TMainDlg::FollowCapacity()
{
    QSlider* trk = ui->num_trk;
    const bool atMaximum = trk->value() == trk->maximum();
    trk->setMaximum(FSheetPrinter->Capacity());
    if (atMaximum)
        trk->setValue(trk->maximum());
}

void TMainDlg::RebuildFormats()
{
    const TSheetFormat chosen = FFormats[static_cast<std::size_t>(FFormat)];
    FFormats = FormatList(LoadOwnFormats());
    const int index = FindFormat(FFormats, chosen);
    {
        const QSignalBlocker quiet(ui->format_cmb);
        ui->format_cmb->SetFormats(FFormats);
        ui->format_cmb->setCurrentIndex(index);
    }
    // The same format at another place only moves; another one is chosen.
    FFormat = index;
    if (!SameFormat(FFormats[static_cast<std::size_t>(index)], chosen))
        format_cmbChange();
}

void TMainDlg::num_trkChange()
{
    ui->dynnum_lbl->setText(QString::asprintf("%d", ui->num_trk->value()));
}

void TMainDlg::print_btnClick()
{
    if ((ui->img->Bitmap().Width() == 0 && FSheetLines.Empty()) || !FSheetPrinter || !FPreviewDlg)
        return;   // nothing loaded: no preview
    if (!FSheetLines.Empty()) {
        PrintSheetRun();
        return;
    }
    bool rendered = false;
    ReportErrors(this, [&] {
        FSheetPrinter->SetCount(ui->num_trk->value());
        RenderPrintRun(this, ui->img->Bitmap(), kMainPhotoViewLook, sheetPrinter(), FPreviewDlg->Page(), FFrame,
                       plainBackground(), FTurn);
        FPreviewDlg->SetPageResolution(FSheetPrinter->DpiX(), FSheetPrinter->DpiY());
        FPreviewDlg->SetPrinter(Printer());
        rendered = true;
    });
    if (rendered && FPreviewDlg->Execute())
        PrintConfirmedSheet();
}

void TMainDlg::PrintSheetRun()
{
    // Made afresh for every run: the cells take the format and the printer
    // of this moment, and their memory goes with the run.
    TPhotoSheet sheet(sheetPrinter());
    bool rendered = false;
    ReportErrors(this, [&] {
        RenderSheetRun(this, FSheetLines, ui->img->Bitmap(), kMainPhotoViewLook, FFrame, ui->num_trk->value(), sheet,
                       plainBackground(), FTurn);
        FPreviewDlg->SetSheet(&sheet);
        FPreviewDlg->ShowPage(0);
        FPreviewDlg->SetPageResolution(FSheetPrinter->DpiX(), FSheetPrinter->DpiY());
        FPreviewDlg->SetPrinter(Printer());
        rendered = true;
    });
    const bool confirmed = rendered && FPreviewDlg->Execute();
    // Several files from one save: the status line names them.
    const QStringList saved = FPreviewDlg->SavedFiles();
    if (saved.size() > 1) {
        QStringList names;
        for (const QString& file : saved)
            names << QFileInfo(file).fileName();
        setStatus(MessageText(Msg::kPagesSaved).arg(names.join(QStringLiteral(", "))), {}, saved.join(u'\n'));
    }
    if (confirmed) {
        ReportErrors(this, [&] {
            if (!NamePdfFile(this, FLastPdfName, QStringLiteral("sheet.pdf")))
                return;
            NameJob();
            PrintOnPrinter(Printer().Name(), [&] { PrintSheetPagesShowingProgress(this, sheet); });
        });
    }
    FPreviewDlg->SetSheet(nullptr);
}

void TMainDlg::NameJob()
{
    QStringList photos;
    for (int line = 0; line < FSheetLines.Count(); ++line)
        photos << FSheetLines.FileName(line);
    if (!ui->img->Bitmap().Empty())
        photos << FPhotoFile;
    Printer().SetJobTitle(PrintJobTitle(photos));
}

void TMainDlg::AddToSheetClick()
{
    if (ui->img->Bitmap().Empty())
        return;   // nothing loaded: nothing to keep
    ReportErrors(this, [&] {
        FSheetLines.Add(ui->img->Bitmap(), kMainPhotoViewLook, FPhotoFile, FFrame, ui->num_trk->value(),
                        plainBackground(), FTurn);
        FSheetLines.SetHeadLines(FSheetLines.Count() - 1, FHeadLines);
        ui->sheet_lst->addItem(FSheetLines.Text(FSheetLines.Count() - 1));
        // The photo lives on in the list; the view is free for the next
        // one, which then takes the following places.
        ui->img->Bitmap().Delete();
        FFrame.reset();
        FFramed = false;
        FBackground.reset();
        FHeadLines.reset();
        setTurn(0);
        analysePhoto();
        ShowFrame();
    });
    ShowActions();
}

void TMainDlg::RemoveFromSheetClick()
{
    const int row = ui->sheet_lst->currentRow();
    if (row < 0 || row >= FSheetLines.Count())
        return;
    FSheetLines.Remove(row);
    delete ui->sheet_lst->takeItem(row);
    ShowActions();
}

void TMainDlg::FrameSheetLine(QListWidgetItem* Item)
{
    const int row = ui->sheet_lst->row(Item);
    if (row < 0 || row >= FSheetLines.Count() || !RunFrameDialog)
        return;
    ReportErrors(this, [&] {
        TBitmap32 photo;
        photo.Assign(&FSheetLines.Photo(row));
        std::optional<TFrame> frame = FSheetLines.Frame(row);
        const std::optional<TPlainBackground> was = FSheetLines.Background(row);
        std::optional<TColor32> colour;
        if (was)
            colour = was->Colour;
        double turn = FSheetLines.Turn(row);
        // The framing window starts from the line's own head lines and
        // hands back the ones it keeps; the window's photo keeps its own.
        std::optional<THeadLines> windowLines = std::exchange(FHeadLines, FSheetLines.HeadLines(row));
        const bool chosen = RunFrameDialog(photo, Rule(), frame, colour, turn);
        std::swap(windowLines, FHeadLines);
        if (!chosen)
            return;
        FSheetLines.SetHeadLines(row, windowLines);
        std::optional<TPlainBackground> background;
        if (colour) {
            // The person's masks of the line's photo: the ones it has, or
            // found afresh for a photo the framing window turned.
            const TBitmap32& kept = FSheetLines.Photo(row);
            const bool same = was && turn == FSheetLines.Turn(row) && photo.Width() == kept.Width()
                              && photo.Height() == kept.Height()
                              && std::equal(photo.Bits(), photo.Bits() + photo.Width() * photo.Height(), kept.Bits());
            if (same) {
                background = TPlainBackground{*colour, was->Mask, was->Beyond};
            } else {
                const TBusyCursor busy;
                TBitmap32 seen;
                if (turn != 0)
                    TurnPhoto(photo, turn, seen);
                const TBitmap32& measured = turn != 0 ? seen : photo;
                const TPhotoAnalysis analysis = AnalysePhoto(measured, FFaceModels);
                if (!analysis.Facts.Person.Empty())
                    background = TPlainBackground{*colour, analysis.Facts.Person,
                                                  WholePhotoPersonMask(measured, FFaceModels.Mask())};
            }
        }
        FSheetLines.Reframe(row, photo, frame, background, turn);
    });
}

void TMainDlg::ClearSheetClick()
{
    FSheetLines.Clear();
    ui->sheet_lst->clear();
    ShowActions();
}

void TMainDlg::ShowActions()
{
    // Framing and keeping need a photo in the view; "Print Now" stays
    // enabled, as its shortcut does, and simply finds nothing to print.
    const bool photo = !ui->img->Bitmap().Empty();
    ui->frame_btn->setEnabled(photo);
    ui->Frame1->setEnabled(photo);
    ui->add_btn->setEnabled(photo);
    ui->AddToSheet1->setEnabled(photo);
    ui->SaveDigital1->setEnabled(photo);
    ui->remove_btn->setEnabled(ui->sheet_lst->currentRow() >= 0);
    ui->clear_btn->setEnabled(!FSheetLines.Empty());
}

bool TMainDlg::NamePdfFile(QWidget* Parent, QString& LastName, const QString& Default)
{
    auto* pdf = dynamic_cast<TVirtualPrinter*>(&Printer());
    if (!pdf)
        return true;
    const QString name = AskPdfFileName ? AskPdfFileName(Parent, LastName.isEmpty() ? Default : LastName) : QString();
    if (name.isEmpty())
        return false;
    LastName = name;
    pdf->SetOutputFileName(name);
    return true;
}

void TMainDlg::PrintConfirmedSheet()
{
    ReportErrors(this, [&] {
        if (!NamePdfFile(this, FLastPdfName, QStringLiteral("sheet.pdf")))
            return;
        NameJob();
        PrintOnPrinter(Printer().Name(), [&] { PrintSheetShowingProgress(this, sheetPrinter()); });
    });
}

void TMainDlg::SheetOptions1Click()
{
    if (!FSheetOptionsDlg)
        return;
    QString printerName;
    ReportErrors(this, [&] { printerName = Printer().Name(); });
    if (!FSheetOptionsDlg->Execute(printerName))
        return;
    RebuildFormats();
    ReportErrors(this, [&] {
        if (!FSheetPrinter)
            return;
        // The marks as chosen; the printer's calibration as now stored.
        FSheetPrinter->SetCutMarks(LoadCutMarks());
        sheetPrinter().SetLayout(LoadSheetLayout());
        FollowCapacity();
    });
    rememberPrintOn();
    ShowPrinterName();   // a photo lab printer may have been chosen
}

void TMainDlg::rememberPrintOn()
{
    ReportErrors(this, [&] { SavePrintOn(dynamic_cast<TPhotoLabPrinter*>(&Printer()) ? Printer().Name() : QString()); });
}

void TMainDlg::SaveDigital1Click()
{
    if (!FDigitalPhotoDlg || ui->img->Bitmap().Empty())
        return;
    const QFileInfo photo(FPhotoFile);
    const QString suggested =
        FPhotoFile.isEmpty() ? QString() : photo.dir().filePath(photo.completeBaseName() + QStringLiteral("-online.jpg"));
    FDigitalPhotoDlg->Execute(ui->img->Bitmap(), FFrame, QDir::toNativeSeparators(suggested), plainBackground(), FRule,
                              FTurn);
}

void TMainDlg::PrintCalibration()
{
    // Over the sheet options when they ask, so messages show above them.
    QWidget* parent = FSheetOptionsDlg && FSheetOptionsDlg->isVisible() ? static_cast<QWidget*>(FSheetOptionsDlg)
                                                                          : this;
    ReportErrors(parent, [&] {
        if (!NamePdfFile(parent, FLastCalibrationPdfName, QStringLiteral("calibration.pdf")))
            return;
        Printer().SetJobTitle(PrintJobTitle({}));
        PrintOnPrinter(Printer().Name(), [&] { PrintCalibrationPageShowingProgress(parent, Printer()); });
    });
}

void TMainDlg::opt_btnClick()
{
    bool confirmed = false;
    ReportErrors(this, [&] { confirmed = RunPrinterSetup && RunPrinterSetup(this); });
    if (confirmed) {
        ReportErrors(this, [&] { UpdateLayout(); });
        rememberPrintOn();
    }
    ShowPrinterName();
}

void TMainDlg::frame_btnClick()
{
    TBitmap32& photo = ui->img->Bitmap();
    if (photo.Empty() || !RunFrameDialog)
        return;   // nothing loaded: nothing to frame
    std::optional<TFrame> frame = FFrame;
    std::optional<TColor32> background = FBackground;
    double turn = FTurn;
    bool chosen = false;
    ReportErrors(this, [&] { chosen = RunFrameDialog(photo, Rule(), frame, background, turn); });
    if (!chosen)
        return;
    FFrame = frame;
    FFramed = true;
    FBackground = background;
    photo.SetStretchFilter(sfMitchell);   // a turned photo is a new bitmap
    ReportErrors(this, [&] { setTurn(turn); });
    analysePhoto();
    ShowFrame();
}

// The photo's faces and measures, once per photo (and after a turn). Without
// the face models the window works as before: the framing window says why.
void TMainDlg::analysePhoto()
{
    FAnalysis.reset();
    FWholePerson = {};
    try {
        if (!seenPhoto().Empty())
            FAnalysis = AnalysePhoto(seenPhoto(), FFaceModels);
        if (FAnalysis && FHeadLines)
            UseHeadLines(*FAnalysis, seenPhoto(), *FHeadLines);
    } catch (const Exception&) {
    }
    measureBackground();
}

void TMainDlg::measureBackground()
{
    FMeasuredWithBackground.reset();
    if (!FAnalysis || !FBackground)
        return;
    FMeasuredWithBackground =
        MeasuredWithBackground(seenPhoto(), FAnalysis->Facts, FAnalysis->Measured, *FBackground);
    if (FWholePerson.Empty()) {
        try {
            FWholePerson = WholePhotoPersonMask(seenPhoto(), FFaceModels.Mask());
        } catch (const Exception&) {
        }
    }
}

std::optional<TPlainBackground> TMainDlg::plainBackground() const
{
    if (!FBackground || !FAnalysis || FAnalysis->Facts.Person.Empty())
        return std::nullopt;
    return TPlainBackground{*FBackground, FAnalysis->Facts.Person, FWholePerson};
}

void TMainDlg::checkPhoto()
{
    FMeasures.clear();
    const TBitmap32& photo = ui->img->Bitmap();
    if (!FAnalysis || photo.Empty())
        return;
    const THeadRule rule = Rule();
    const TFrame frame = FFrame ? *FFrame : UnframedFrame(photo.Width(), photo.Height(), rule);
    // The head height's sentence in the framing window's words.
    FMeasures = CheckPhoto(FAnalysis->Facts, FMeasuredWithBackground.value_or(FAnalysis->Measured), frame, rule,
                           FFrameDlg ? FFrameDlg->Wording() : TWording(), DocumentNameOf(rule));
}

void TMainDlg::Check1Click()
{
    if (FCheckDlg && !FMeasures.empty())
        FCheckDlg->Execute(FMeasures, CheckSummary(FMeasures));
}

void TMainDlg::translate_btnClick()
{
    if (FSettingsDlg)
        FSettingsDlg->Execute();
}

void TMainDlg::langueAfterLanguageSwitch()
{
    // Qt's own dialogs follow: the switch made the language's locale the default.
    UseQtTranslations(QLocale());
    setWindowTitle(VersionCaption());
    // The shipped and own formats' texts are the catalogue's.
    const QSignalBlocker quiet(ui->format_cmb);
    ui->format_cmb->SetFormats(FFormats);
    ui->format_cmb->setCurrentIndex(FFormat);
    ShowPrinterName();
}

void TMainDlg::Help1Click()
{
    // The guide lies with the program, as its language files do: the
    // language list knows the program's folder.
    OpenUserGuide(this, langue->ProgramDir());
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
    FSheetLines.Clear();
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
    // Anything else dropped would otherwise vanish without a word.
    if (HasPhotoExtension(name))
        LoadPhoto(name);
    else
        ShowErrorMessage(this, MessageText(Msg::kDroppedNotPhoto).arg(QFileInfo(name).fileName()));
}
