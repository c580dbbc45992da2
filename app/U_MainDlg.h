#pragma once

#include "bitmap32.h"
#include "frame.h"
#include "head_rules.h"
#include "sheet_formats.h"
#include "sheet_lines.h"

#include "photo_check.h"
#include "plain_background.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QFileDialog;
class TCheckDlg;
class QLabel;
class TAboutDlg;
class TBitmap32;
class TDigitalPhotoDlg;
class TFrameDlg;
class TApplicationEvents;
class QListWidgetItem;
class TIDPrinter;
class TImage32;
class TLangList;
class TMyDropTarget;
class TSettingsDlg;
class TSheetOptionsDlg;
class TStringList;
class Tpreviewdlg;

namespace Ui {
class MainDlg;
}

/// The main window's size at its first start, in the screen's logical pixels.
inline constexpr int kMainWindowWidth = 560;
inline constexpr int kMainWindowHeight = 600;

/// The main window: holds the photo, the format and the number of copies,
/// and runs the print: photo cell, page preview, print. "Add to sheet"
/// moves the photo, with its frame and count, into the sheet's list and
/// empties the view for the next one; a line double-clicked is framed
/// again, Remove or Delete takes it off. With lines in the list the print
/// run shares its pages among them, the window's photo (if any) last.
class TMainDlg : public QMainWindow {
    Q_OBJECT

public:
    explicit TMainDlg(QWidget* parent = nullptr);
    /// FormDestroy.
    ~TMainDlg() override;

    /// The forms created after this one, as main() makes them.
    void SetSettingsDialog(TSettingsDlg* dialog) { FSettingsDlg = dialog; }
    void SetPreviewDialog(Tpreviewdlg* dialog) { FPreviewDlg = dialog; }
    void SetAboutDialog(TAboutDlg* dialog) { FAboutDlg = dialog; }
    void SetFrameDialog(TFrameDlg* dialog) { FFrameDlg = dialog; }
    /// The sheet options; its calibration page prints on the current printer.
    void SetSheetOptionsDialog(TSheetOptionsDlg* dialog);
    void SetDigitalPhotoDialog(TDigitalPhotoDlg* dialog) { FDigitalPhotoDlg = dialog; }
    void SetCheckDialog(TCheckDlg* dialog) { FCheckDlg = dialog; }
    /// The face models the window and its dialogs analyse photos with, read
    /// when the first photo is analysed.
    TFaceModels& FaceModels() { return FFaceModels; }
    /// A photo to load at the first activation (the command line's), the
    /// way the open dialog loads one.
    void SetStartPhoto(const QString& FileName) { FStartPhoto = FileName; }

    /// The interface language: finds the language files, remembers the
    /// choice, translates every form.
    TLangList* langue;
    /// The print dialog; true when confirmed with the chosen printer current.
    std::function<bool(QWidget* Parent)> RunPrinterSetup;
    /// Asks where the built-in PDF printer writes; empty when cancelled.
    std::function<QString(QWidget* Parent, const QString& Suggested)> AskPdfFileName;
    /// The framing window for Photo under Rule from Frame, Background and
    /// Turn (the straightening, in degrees); true on OK, with Frame,
    /// Background, Turn (and Photo, if turned a quarter) as chosen.
    /// TFrameDlg::Execute by default.
    std::function<bool(TBitmap32& Photo, const THeadRule& Rule, std::optional<TFrame>& Frame,
                       std::optional<TColor32>& Background, double& Turn)>
        RunFrameDialog;

    // Event handlers.
    void AppEvtActivate();
    void open_btnClick();
    void format_cmbChange();
    void num_trkChange();
    void print_btnClick();
    void opt_btnClick();
    void frame_btnClick();
    /// The status line's check summary or "Photo check...": every measure
    /// of the photo as it prints.
    void Check1Click();
    void SheetOptions1Click();
    /// "Save photo for online application...": the photo alone, framed as
    /// the window frames it, as one JPEG file of a chosen pixel size.
    void SaveDigital1Click();
    void AddToSheetClick();
    /// Takes the selected line out of the sheet's list.
    void RemoveFromSheetClick();
    /// A line double-clicked (or Enter on it): its photo opens in the
    /// framing window; OK gives the line the frame and background chosen
    /// there. The line keeps its place and count.
    void FrameSheetLine(QListWidgetItem* Item);
    void ClearSheetClick();
    /// The sheet options' "Print calibration page": the rulers on the
    /// current printer, with the progress and errors of printing.
    void PrintCalibration();
    void translate_btnClick();
    void langueAfterLanguageSwitch();
    /// Help (F1): the user guide that comes with the program.
    void Help1Click();
    void About1Click();
    void Exit1Click();
    void FormDestroy();

    /// Loads a photo into the view as the open dialog does; an error is shown
    /// and the previous photo stays. A loaded photo's folder is where the
    /// open dialog starts next time.
    void LoadPhoto(const QString& FileName);

    Ui::MainDlg& Form() { return *ui; }
    TImage32& img();
    QFileDialog& JOD() { return *FJOD; }
    /// The sheet printer on the current printer; none before the first activation.
    TIDPrinter* SheetPrinter() { return FSheetPrinter ? &sheetPrinter() : nullptr; }
    TStringList* DroppedFiles() { return FDroppedFiles.get(); }
    /// The status line's text, the check's summary (a link) included.
    QString StatusText() const;
    /// The photo check of the photo as it prints; empty without a photo or
    /// the face models.
    const TMeasures& Measures() const { return FMeasures; }
    /// The status line's other panel: the chosen format's printed size.
    QString SizeText() const;
    /// The photo's frame; none: the whole photo is printed.
    const std::optional<TFrame>& Frame() const { return FFrame; }
    /// The plain background's colour chosen for the photo; none: the photo's own.
    const std::optional<TColor32>& BackgroundColour() const { return FBackground; }
    /// The crown and chin lines the user placed on the photo in the framing
    /// window; none: the measured ones. They stay until another photo is loaded.
    const std::optional<THeadLines>& HeadLines() const { return FHeadLines; }
    /// The photo's straightening in degrees (RenderPhotoCell's Turn); 0: none.
    double Turn() const { return FTurn; }
    /// The rule of the chosen format (FramingRule).
    const THeadRule& Rule() const { return FRule; }
    /// What the format list offers, in its order: the built-in formats until
    /// the first activation, then the shipped and the user's own after them.
    const std::vector<TSheetFormat>& Formats() const { return FFormats; }
    /// The photos kept by "Add to sheet", in the list's order.
    const TSheetLines& SheetLines() const { return FSheetLines; }

protected:
    void showEvent(QShowEvent* event) override;
    /// Remembers the window's size for the next start.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The constructor's parts, in the order it runs them.
    /// The form's unnamed parts, the first size, the photo view, the icons.
    void setUpWindow();
    /// The status bar's two panels.
    void createStatusLine();
    /// The status line's text, then Link (the check's summary, if any) as a
    /// link to the measures; ToolTip holds the whole of it.
    void setStatus(const QString& Text, const QString& Link, const QString& ToolTip);
    /// Makes the status line as high as its text takes at its width.
    void fitStatusLine();
    /// AppEvt, then the language list.
    void createComponents();
    /// The open dialog and the hooks that run the other dialogs.
    void createDialogs();
    /// Every control and shortcut to its handler.
    void connectControls();
    void UpdateLayout();
    /// The sheet printer on the current printer.
    TIDPrinter& sheetPrinter();
    void FilesDropped(TMyDropTarget& Sender);
    /// The status line: the printer's name or the photo's warnings, the
    /// format's printed size; and what the photo view shows, in words.
    void ShowPrinterName();
    /// Places the photo in the view: the frame's rectangle, or the whole
    /// photo; then the status line.
    void ShowFrame();
    /// The view's part of ShowFrame, again whenever the view's size changes.
    void placePhoto();
    /// The photo as the check measures it and the view shows it: turned
    /// when it is straightened.
    const TBitmap32& seenPhoto() const;
    /// Straightens the window's photo by Turn degrees (0: not at all).
    void setTurn(double Turn);
    void analysePhoto();
    /// The photo's measures with the chosen plain background, for the check.
    void measureBackground();
    /// The chosen plain background with the photo's person mask; none
    /// without a choice or a mask.
    std::optional<TPlainBackground> plainBackground() const;
    /// Judges the photo as it prints into FMeasures.
    void checkPhoto();
    QString VersionCaption() const;
    void PrintConfirmedSheet();
    /// The print run of the sheet's list and the window's photo.
    void PrintSheetRun();
    /// Names the current printer's next job after the photos it prints: the
    /// sheet's list, then the window's photo.
    void NameJob();
    /// Which buttons and menu entries are enabled, as the photo in the view
    /// and the sheet's list allow them.
    void ShowActions();
    /// A built-in virtual printer (PDF, photo lab) writes a file: asks for its name first,
    /// offering LastName (then Default) and remembering the answer there.
    /// False when the user cancelled; true for every other printer.
    bool NamePdfFile(QWidget* Parent, QString& LastName, const QString& Default);
    /// Remembers the photo lab printer that is current, or that none is, as
    /// "Print on" for the next start.
    void rememberPrintOn();
    /// Reads the format list anew from the settings and keeps the chosen
    /// format selected, or one of its size, or the first.
    void RebuildFormats();
    /// The count follows a new capacity from its maximum; below it, it stays
    /// unless the slider lowers it to a smaller maximum.
    void FollowCapacity();

    std::unique_ptr<Ui::MainDlg> ui;
    QFileDialog* FJOD;
    TApplicationEvents* AppEvt;
    QLabel* FStatusPanel;
    QLabel* FSizePanel;
    TSettingsDlg* FSettingsDlg = nullptr;
    Tpreviewdlg* FPreviewDlg = nullptr;
    TAboutDlg* FAboutDlg = nullptr;
    TFrameDlg* FFrameDlg = nullptr;
    TSheetOptionsDlg* FSheetOptionsDlg = nullptr;
    TDigitalPhotoDlg* FDigitalPhotoDlg = nullptr;
    TCheckDlg* FCheckDlg = nullptr;
    QString FStatusText;
    TMeasures FMeasures;
    std::optional<TFrame> FFrame;
    TFaceModels FFaceModels;
    std::optional<TPhotoAnalysis> FAnalysis;
    std::optional<TColor32> FBackground;
    std::optional<THeadLines> FHeadLines;
    double FTurn = 0;
    TBitmap32 FTurned;           // the photo turned by FTurn, when that is not 0
    std::optional<TPhotoMeasures> FMeasuredWithBackground;
    TPersonMaskMap FWholePerson;   // the whole photo's person, once a background asks for it
    std::vector<TSheetFormat> FFormats;
    int FFormat = 0;             // the format FFrame was made for
    THeadRule FRule;             // and its rule
    bool FShowsFrame = false;    // the view's placement is the frame's
    bool FFramed = false;        // the framing window closed with OK for this photo
    std::unique_ptr<TIDPrinter> FSheetPrinter;
    std::unique_ptr<TStringList> FDroppedFiles;
    QString FLastPdfName;
    QString FLastCalibrationPdfName;
    QString FStartPhoto;
    QString FPhotoFile;          // the file of the photo in the view
    TSheetLines FSheetLines;
    bool FShown = false;
};

/// Records the program's location under the machine's settings: key
/// "SOFTWARE\Varnel", value named Title. Fails silently without rights.
void RegisterInstallPath(const QString& Title, const QString& ExePath);
