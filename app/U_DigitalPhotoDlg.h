#pragma once

#include "digital_photo.h"
#include "face_models.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class DigitalPhotoDlg;
}

/// "Save photo for online application": a preset (or an own size in pixels
/// with optional file sizes) and a file; the dialog says when the size
/// enlarges the photo beyond its pixels. "Save" writes the window's photo,
/// framed as the window frames it, with SaveDigitalPhoto (asking first
/// before it replaces a file the save dialog did not ask about) and shows
/// the file written, with its pixel size, file size and photo check, or
/// why it could not be written.
class TDigitalPhotoDlg : public QDialog {
    Q_OBJECT
public:
    /// Creates the form and registers it with the application's forms.
    /// Checks the written photo with Models, which must outlive the dialog.
    explicit TDigitalPhotoDlg(TFaceModels& Models, QWidget* parent = nullptr);
    ~TDigitalPhotoDlg() override;

    /// Shows the dialog modally for `Photo` and its `Frame` (and plain
    /// background), kept only while it is open; `FileName` is offered when
    /// none was chosen before. A frame made for `FrameRule` (the window's
    /// format) is refitted to each online form's shape and head rule
    /// (DigitalFrame); without a rule it is only widened or narrowed.
    void Execute(const TBitmap32& Photo, const std::optional<TFrame>& Frame, const QString& FileName,
                 const std::optional<TPlainBackground>& Background = std::nullopt,
                 const std::optional<THeadRule>& FrameRule = std::nullopt, double Turn = 0);
    /// Fills the controls for the photo as Execute does, without showing;
    /// Turn straightens it (RenderPhotoCell's).
    void Start(const TBitmap32& Photo, const std::optional<TFrame>& Frame, const QString& FileName,
               const std::optional<TPlainBackground>& Background = std::nullopt,
               const std::optional<THeadRule>& FrameRule = std::nullopt, double Turn = 0);

    /// The size the controls describe: the chosen preset, or the own size.
    TDigitalSize ChosenSize() const;
    /// Writes the photo as the controls say; false, with the reason in the
    /// status line, when it cannot.
    bool SaveChosen();

    /// Asks where to save; empty when cancelled. A file dialog by default.
    std::function<QString(QWidget* Parent, const QString& Suggested)> AskFileName;

private:
    QString checkSummary(const TBitmap32& Written, const TDigitalSize& Size);
    void preset_cmbChange();
    /// The note under the sizes: the photo's part enlarged, or nothing.
    void showEnlargement();
    void browse_btnClick();
    void updateControls();

    std::unique_ptr<Ui::DigitalPhotoDlg> ui;
    TFaceModels& FModels;
    const TBitmap32* FPhoto = nullptr;
    std::optional<TFrame> FFrame;
    std::optional<THeadRule> FFrameRule;
    std::optional<TPlainBackground> FBackground;
    double FTurn = 0;
    QString FConfirmedName;   // the name the save dialog confirmed, existing or not
};
