#include "U_DigitalPhotoDlg.h"

#include "ui_U_DigitalPhotoDlg.h"

#include "lang_components.h"
#include "check_report.h"
#include "country_names.h"
#include "messages.h"
#include "photo_check.h"
#include "photo_messages.h"
#include "on_screen.h"
#include "error_display.h"
#include "wrapped_labels.h"

#include <QDir>
#include <QFileDialog>
#include <QLocale>
#include <QPixmap>

#include <cmath>

namespace {

constexpr std::int64_t kKiB = 1024;
constexpr std::int64_t kKB = 1000;

QString askJpegName(QWidget* parent, const QString& suggested)
{
    return QFileDialog::getSaveFileName(parent, MessageText(Msg::kDigitalSaveCaption), suggested,
                                        QStringLiteral("JPEG (*.jpg *.jpeg)"));
}

// The own size is the last entry, after the presets.
bool ownSize(int index)
{
    return index < 0 || index >= static_cast<int>(DigitalPresets().size());
}

}  // namespace

TDigitalPhotoDlg::TDigitalPhotoDlg(TFaceModels& Models, QWidget* parent)
    : QDialog(parent), AskFileName(askJpegName), ui(std::make_unique<Ui::DigitalPhotoDlg>()), FModels(Models)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    connect(ui->preset_cmb, &QComboBox::currentIndexChanged, this, &TDigitalPhotoDlg::preset_cmbChange);
    // An own size says at once whether it enlarges the photo.
    for (QSpinBox* side : {ui->width_edt, ui->height_edt})
        connect(side, &QSpinBox::valueChanged, this, &TDigitalPhotoDlg::showEnlargement);
    connect(ui->browse_btn, &QPushButton::clicked, this, &TDigitalPhotoDlg::browse_btnClick);
    connect(ui->save_btn, &QPushButton::clicked, this, &TDigitalPhotoDlg::SaveChosen);
    connect(ui->close_btn, &QPushButton::clicked, this, &QDialog::reject);
    KeepWrappedLabelsWhole(*this);
    RegisterForm(this);
}

TDigitalPhotoDlg::~TDigitalPhotoDlg() = default;

void TDigitalPhotoDlg::Execute(const TBitmap32& Photo, const std::optional<TFrame>& Frame, const QString& FileName,
                               const std::optional<TPlainBackground>& Background,
                               const std::optional<THeadRule>& FrameRule, double Turn)
{
    Start(Photo, Frame, FileName, Background, FrameRule, Turn);
    PlaceOnScreen(*this, parentWidget());
    exec();
    FPhoto = nullptr;
    FBackground.reset();
}

void TDigitalPhotoDlg::Start(const TBitmap32& Photo, const std::optional<TFrame>& Frame, const QString& FileName,
                             const std::optional<TPlainBackground>& Background,
                             const std::optional<THeadRule>& FrameRule, double Turn)
{
    FPhoto = &Photo;
    FFrame = Frame;
    FFrameRule = FrameRule;
    FBackground = Background;
    FTurn = Turn;
    // Filled afresh, in the interface's language of the moment.
    const int chosen = std::max(ui->preset_cmb->currentIndex(), 0);
    const QSignalBlocker quiet(ui->preset_cmb);
    ui->preset_cmb->clear();
    for (const TDigitalPreset& preset : DigitalPresets())
        ui->preset_cmb->addItem(DocumentName(*preset.Document));
    ui->preset_cmb->addItem(MessageText(Msg::kOwnDigitalSize));
    ui->preset_cmb->setCurrentIndex(chosen);
    if (ui->file_edt->text().isEmpty())
        ui->file_edt->setText(FileName);
    ui->status_lbl->clear();
    ui->written_img->clear();
    preset_cmbChange();
}

void TDigitalPhotoDlg::preset_cmbChange()
{
    const int index = ui->preset_cmb->currentIndex();
    if (!ownSize(index)) {
        const TDigitalPreset& preset = DigitalPresets()[static_cast<std::size_t>(index)];
        ui->width_edt->setValue(preset.Size.Width);
        ui->height_edt->setValue(preset.Size.Height);
        ui->minkb_edt->setValue(static_cast<int>(preset.Size.MinBytes / kKiB));
        ui->maxkb_edt->setValue(static_cast<int>(preset.Size.MaxBytes / kKB));
        // The office's own statement, as it publishes it.
        const std::string_view source = preset.Document->Source;
        ui->source_lbl->setText(DigitalSizeText(preset.Size) + u'\n'
                                + QString::fromUtf8(source.data(), static_cast<qsizetype>(source.size())));
    } else {
        ui->source_lbl->clear();
    }
    updateControls();
    showEnlargement();
}

void TDigitalPhotoDlg::showEnlargement()
{
    QString note;
    const TDigitalSize size = ChosenSize();
    if (FPhoto && !FPhoto->Empty() && size.Height > 0) {
        const TFrame part = DigitalPhotoPart(FPhoto->Width(), FPhoto->Height(), FFrame, size);
        // Half a percent of slack: a part of the very size is no enlargement.
        if (size.Height > part.Height * 1.005)
            note = MessageText(Msg::kDigitalEnlarged)
                       .arg(std::lround(part.Width))
                       .arg(std::lround(part.Height))
                       .arg(size.Width)
                       .arg(size.Height);
    }
    ui->enlarge_lbl->setText(note);
    ui->enlarge_lbl->setVisible(!note.isEmpty());
}

void TDigitalPhotoDlg::updateControls()
{
    const bool own = ownSize(ui->preset_cmb->currentIndex());
    for (QWidget* w : {static_cast<QWidget*>(ui->width_edt), static_cast<QWidget*>(ui->height_edt),
                       static_cast<QWidget*>(ui->minkb_edt), static_cast<QWidget*>(ui->maxkb_edt)})
        w->setEnabled(own);
}

TDigitalSize TDigitalPhotoDlg::ChosenSize() const
{
    const int index = ui->preset_cmb->currentIndex();
    if (!ownSize(index))
        return DigitalPresets()[static_cast<std::size_t>(index)].Size;
    TDigitalSize size;
    size.Width = ui->width_edt->value();
    size.Height = ui->height_edt->value();
    size.MinBytes = ui->minkb_edt->value() * kKiB;
    size.MaxBytes = ui->maxkb_edt->value() * kKB;
    return size;
}

void TDigitalPhotoDlg::browse_btnClick()
{
    const QString name = AskFileName ? AskFileName(this, ui->file_edt->text()) : QString();
    if (name.isEmpty())
        return;
    ui->file_edt->setText(QDir::toNativeSeparators(name));
    // The save dialog has asked about an existing file already.
    FConfirmedName = QDir::fromNativeSeparators(name);
}

// The photo check of the picture as the office receives it, in one line;
// nothing when the face models cannot be read.
QString TDigitalPhotoDlg::checkSummary(const TBitmap32& Written, const TDigitalSize& Size)
{
    try {
        TPhotoAnalysis analysis = AnalysePhoto(Written, FModels);
        // The background was put in by Quorlo: the photo the office gets is edited.
        analysis.Measured.BackgroundReplaced = FBackground.has_value();
        const TFrame whole{0, 0, static_cast<double>(Written.Width()), static_cast<double>(Written.Height())};
        return CheckSummary(CheckPhoto(analysis.Facts, analysis.Measured, whole, DigitalHeadRule(Size)));
    } catch (const Exception&) {
        return {};
    }
}

bool TDigitalPhotoDlg::SaveChosen()
{
    QString name = ui->file_edt->text().trimmed();
    if (name.isEmpty()) {
        browse_btnClick();
        name = ui->file_edt->text().trimmed();
        if (name.isEmpty())
            return false;
    }
    // As "Save as image" does: a name without a JPEG extension gets one.
    const QString suffix = QFileInfo(name).suffix().toLower();
    if (suffix != QLatin1String("jpg") && suffix != QLatin1String("jpeg")) {
        name += QStringLiteral(".jpg");
        ui->file_edt->setText(name);
    }
    if (!FPhoto || FPhoto->Empty())
        return false;
    const TDigitalSize size = ChosenSize();
    const QString fileName = QDir::fromNativeSeparators(name);
    if (QFileInfo::exists(fileName) && fileName != FConfirmedName
        && !AskQuestion(this, MessageText(Msg::kReplaceFile).arg(QFileInfo(fileName).fileName()),
                        MessageText(Msg::kReplace), MessageText(Msg::kDoNotReplace)))
        return false;
    try {
        TBitmap32 written;
        TDigitalJpeg jpeg;
        // The form's own shape and head rule, from the window's frame.
        const std::optional<TFrame> frame = FFrameRule ? DigitalFrame(FFrame, *FFrameRule, size) : FFrame;
        SavePhotoFile(fileName,
                      [&] { jpeg = SaveDigitalPhoto(*FPhoto, frame, size, fileName, &written, FBackground, FTurn); });
        ui->status_lbl->setStyleSheet(QString());
        ui->status_lbl->setText(MessageText(Msg::kDigitalSaved)
                                    .arg(QFileInfo(name).fileName())
                                    .arg(size.Width)
                                    .arg(size.Height)
                                    .arg(QLocale().toString(jpeg.Bytes.size() / 1000.0, 'f', 1))
                                    .arg(jpeg.Quality)
                                + u'\n' + checkSummary(written, size));
        // The file as written, to look at before it is sent.
        QImage shown;
        written.AssignTo(shown);
        ui->written_img->setPixmap(QPixmap::fromImage(
            shown.scaled(ui->written_img->contentsRect().size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        ui->written_img->setToolTip(QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()));
        return true;
    } catch (const Exception& e) {
        ui->status_lbl->setStyleSheet(QStringLiteral("color: #b00000"));
        ui->status_lbl->setText(e.Message);
        return false;
    }
}
