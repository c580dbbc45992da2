#pragma once

#include "bitmap32.h"
#include "frame_editor.h"
#include "orientation.h"
#include "photo_check.h"

#include <QDialog>

#include <memory>
#include <optional>

class TTextStorage;

namespace Ui {
class FrameDlg;
}

/// The framing window's size at its first opening.
inline constexpr int kFrameWindowWidth = 800;
inline constexpr int kFrameWindowHeight = 660;

/// The size the framing window opens at: Wanted (the remembered size; none:
/// the first size), no larger than the screen's free area, no smaller than
/// Least (what its controls need).
QSize FittedWindowSize(const QSize& Wanted, const QSize& Least, const QSize& Screen);

/// The framing window: the photo large with the cell's outline and the
/// format's guides, growing with the window, whose size the settings keep;
/// drag, arrow keys, wheel, + and - and slider place the frame, "Automatic"
/// finds the face and frames it by the rule, "Whole photo" takes the frame
/// away, the turn buttons turn the photo a quarter. OK hands back the frame
/// (and the turned photo); Cancel changes nothing.
class TFrameDlg : public QDialog {
    Q_OBJECT

public:
    explicit TFrameDlg(QWidget* parent = nullptr);
    ~TFrameDlg() override;

    /// Shows the window modally for Photo under Rule, starting from Frame.
    /// On OK, Frame becomes the chosen frame (none: the whole photo) and
    /// Photo the turned photo if it was turned; returns true. On Cancel both
    /// stay as they were.
    bool Execute(TBitmap32& Photo, const THeadRule& Rule, std::optional<TFrame>& Frame);

    /// Loads the window without showing it (Execute does this first): a copy
    /// of Photo, the rule, the frame; looks for the face to measure the head.
    void Start(const TBitmap32& Photo, const THeadRule& Rule, const std::optional<TFrame>& Frame);

    const TBitmap32& Photo() const { return FPhoto; }
    int QuarterTurns() const { return FQuarterTurns; }
    TFrameEditor& Editor() { return *FEditor; }
    /// The head-size line and the message line as shown.
    QString HeadText() const;
    QString MessageText() const;
    /// The photo check as shown for the current frame; empty without a face
    /// model or photo.
    const TMeasures& Measures() const { return FMeasures; }

    void auto_btnClick();
    void whole_btnClick();
    void turnleft_btnClick();
    void turnright_btnClick();
    void zoom_trkChange(int Value);

    /// The size the window had when it last closed; none before that.
    static QSize RememberedSize();
    static void RememberSize(const QSize& Size);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void turn(TOrientation orientation);
    void findHead();
    void showCheck();
    void photoChanged();
    void frameChanged();
    /// A text composed at run time in the user's language, from TS_frame.
    QString text(const QString& original) const;
    TWording wording() const;

    std::unique_ptr<Ui::FrameDlg> ui;
    TBitmap32 FPhoto;
    std::unique_ptr<TFrameEditor> FEditor;
    std::optional<TPhotoAnalysis> FAnalysis;
    TMeasures FMeasures;
    TTextStorage* FTS_frame;
    QString FMessage;
    int FQuarterTurns = 0;
    bool FSettingZoom = false;
};
