#pragma once

#include "bitmap32.h"
#include "frame_editor.h"
#include "orientation.h"
#include "photo_check.h"
#include "plain_background.h"

#include <QDialog>
#include <QTimer>

#include <functional>

#include <memory>
#include <optional>

class TTextStorage;

class QLabel;

namespace Ui {
class FrameDlg;
}

/// The framing window's size at its first opening.
inline constexpr int kFrameWindowWidth = 800;
inline constexpr int kFrameWindowHeight = 660;

/// The framing window: the photo large with the cell's outline and the
/// format's guides, growing with the window, whose size the settings keep;
/// drag, arrow keys, wheel, + and - and slider place the frame, "Automatic"
/// finds the face and frames it by the rule, "Whole photo" takes the frame
/// away, the turn buttons turn the photo a quarter, "Straighten" turns it
/// until the eyes are level and the fine turn by tenths of a degree (the
/// photo itself stays: the turn goes with it); "Plain background" puts a
/// colour behind the person, in the picture and in the check; the measured
/// crown and chin lines can be dragged where the user sees them, and the
/// head rule, "Automatic" and the check follow. OK hands back the frame,
/// the background, the lines, the straightening (and the photo turned a
/// quarter); Cancel changes nothing.
class TFrameDlg : public QDialog {
    Q_OBJECT

public:
    /// Analyses photos with Models, which must outlive the window.
    explicit TFrameDlg(TFaceModels& Models, QWidget* parent = nullptr);
    ~TFrameDlg() override;

    /// Shows the window modally for Photo under Rule, starting from Frame and
    /// Background. On OK, Frame becomes the chosen frame (none: the whole
    /// photo), Background the plain background's colour (none: the photo's
    /// own) and Photo the turned photo if it was turned; returns true. On
    /// Cancel all stay as they were. Fresh as for Start. OK remembers the
    /// plain background's choice and colour for the next photo. Turn, when
    /// given, is the photo's straightening in degrees (RenderPhotoCell's),
    /// and becomes the one chosen; the frame is then the turned photo's.
    bool Execute(TBitmap32& Photo, const THeadRule& Rule, std::optional<TFrame>& Frame,
                 std::optional<TColor32>& Background, bool Fresh = false, double* Turn = nullptr);

    /// Loads the window without showing it (Execute does this first): a copy
    /// of Photo, the rule, the frame, the background; looks for the face to
    /// measure the head and find the person. The colour offered is the one
    /// last chosen (else the format's). Fresh: the photo comes for the first
    /// time; without a Frame a face found is framed at once, as "Automatic"
    /// frames it, and the plain background is on if it was at the last OK.
    void Start(const TBitmap32& Photo, const THeadRule& Rule, const std::optional<TFrame>& Frame,
               const std::optional<TColor32>& Background = std::nullopt, bool Fresh = false, double Turn = 0);

    const TBitmap32& Photo() const { return FPhoto; }
    /// The straightening as chosen, in degrees.
    double Turn() const { return FTurn; }
    int QuarterTurns() const { return FQuarterTurns; }
    TFrameEditor& Editor() { return *FEditor; }
    /// The head-size line and the message line as shown.
    QString HeadText() const;
    QString MessageText() const;
    /// The photo check as shown for the current frame; empty without a face
    /// model or photo.
    const TMeasures& Measures() const { return FMeasures; }
    /// The plain background as chosen; none while it is off or no person
    /// was found to put it behind.
    std::optional<TColor32> Background() const;

    /// The crown and chin lines the next Start begins with (the photo's
    /// earlier correction); none: the measured ones.
    void SetHeadLines(const std::optional<THeadLines>& Lines) { FStartLines = Lines; }
    /// The user's crown and chin lines as they stand; none while the
    /// measured ones stand (and after a turn).
    const std::optional<THeadLines>& HeadLines() const { return FEditor->HeadLines(); }
    /// The note beside the crown line; empty when the crown was seen or given.
    QString CrownNote() const { return FCrownNote; }
    /// The framing library's texts (the head height's sentence) in the
    /// user's language, from this window's text storage.
    TWording Wording() const;

    /// Asks for a colour of the user's own, starting from Current; none when
    /// cancelled. A colour dialog by default.
    std::function<std::optional<TColor32>(QWidget* Parent, TColor32 Current)> AskColour;

    void auto_btnClick();
    void whole_btnClick();
    void turnleft_btnClick();
    void turnright_btnClick();
    /// Turns the photo so that the eyes are level (LevellingTurn), to a
    /// tenth of a degree, the frame turning with it.
    void straighten_btnClick();
    void zoom_trkChange(int Value);
    void background_chkClick(bool On);
    void background_cmbChange(int Index);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void turn(TOrientation orientation);
    /// The photo as shown and measured: turned by FTurn when that is not 0.
    const TBitmap32& seen() const;
    void setTurn(double Degrees);
    /// The fine turn's control and the Straighten button as things stand.
    void showTurn();
    /// Straightens the photo by Degrees: the frame keeps what it held, the
    /// face is measured anew.
    void turnTo(double Degrees);
    void findHead();
    /// The user's lines, when they moved, carried into the analysis and the check.
    void followHeadLines();
    void showCheck();
    void photoChanged();
    void frameChanged();
    /// The background choice changed, or the person under it: the picture,
    /// the swatch and the check follow.
    void backgroundChanged();
    /// Shows Colour as the combo's choice (a colour of the user's own as the last entry).
    void showBackgroundColour(TColor32 Colour);
    /// A text composed at run time in the user's language, from TS_frame.
    QString text(const QString& original) const;

    std::unique_ptr<Ui::FrameDlg> ui;
    TBitmap32 FPhoto;
    std::unique_ptr<TFrameEditor> FEditor;
    TFaceModels& FModels;
    std::optional<TPhotoAnalysis> FAnalysis;
    TMeasures FMeasures;
    std::optional<TPhotoMeasures> FMeasuredWithBackground;
    TPersonMaskMap FWholePerson;   // the whole photo's person, once a background asks for it
    QLabel* FEditsRefused = nullptr;   // why the office's photo keeps its background
    TColor32 FBackgroundColour = kBackgroundWhite;
    TColor32 FOwnColour = kBackgroundWhite;
    TTextStorage* FTS_frame;
    QString FMessage;
    QString FCrownNote;
    std::optional<THeadLines> FStartLines;
    std::optional<THeadLines> FAppliedLines;   // the lines the analysis has
    int FQuarterTurns = 0;
    double FTurn = 0;
    TBitmap32 FTurned;   // FPhoto turned by FTurn, when that is not 0
    QTimer FTurnTimer;
    bool FSettingZoom = false;
};
