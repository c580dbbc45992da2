#include "U_FrameDlg.h"
#include "ui_U_FrameDlg.h"

#include "country_names.h"

#include "C_TextStorage.h"
#include "lang_components.h"
#include "messages.h"
#include "on_screen.h"
#include "measured_frame.h"
#include "photo_check.h"
#include "orientation.h"
#include "registry.h"
#include "sheet_formats.h"
#include "straighten.h"
#include "turned_photo.h"
#include "check_list.h"
#include "window_sizes.h"
#include "wrapped_labels.h"

#include <QApplication>
#include <QColorDialog>
#include <QKeyEvent>
#include <QListWidget>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// The background combo's entries, the last one a colour of the user's own.
constexpr TColor32 kOfferedBackgrounds[] = {kBackgroundWhite, kBackgroundLightGrey, kBackgroundLightBlue};
constexpr int kOwnColourEntry = 3;

// A fine turn waits this long, in milliseconds, for the control to rest.
constexpr int kTurnSettles = 300;

// The slider runs from 0 (whole photo, zoom 1) in tenths of zoom.
constexpr double kSliderPerZoom = 10;

// The name the window's size is remembered by.
const QString kWindowName = QStringLiteral("Frame");

// The plain background last chosen, kept beside the program's other settings.
const QString kSettingsKey = QStringLiteral("Software\\Varnel\\Quorlo");
const QString kBackgroundOnName = QStringLiteral("PlainBackground");
const QString kBackgroundColourName = QStringLiteral("PlainBackgroundColour");

struct TBackgroundChoice {
    bool On = false;
    std::optional<TColor32> Colour;
};

TBackgroundChoice lastBackgroundChoice()
{
    TRegistry registry;
    if (!registry.OpenKeyReadOnly(kSettingsKey))
        return {};
    TBackgroundChoice choice;
    choice.On = registry.ReadInteger(kBackgroundOnName).value_or(0) != 0;
    const QColor colour(registry.ReadString(kBackgroundColourName).value_or(QString()));
    if (colour.isValid())
        choice.Colour = Color32(colour.red(), colour.green(), colour.blue());
    return choice;
}

void rememberBackgroundChoice(const TBackgroundChoice& choice)
{
    TRegistry registry;
    if (!registry.OpenKey(kSettingsKey, true))
        return;
    registry.WriteInteger(kBackgroundOnName, choice.On ? 1 : 0);
    if (choice.Colour)
        registry.WriteString(kBackgroundColourName, QColor::fromRgb(*choice.Colour).name());
}

void paintSwatch(QWidget* swatch, const QColor& colour)
{
    QPalette palette = swatch->palette();
    QColor opaque = colour;
    opaque.setAlpha(255);
    palette.setColor(QPalette::Window, opaque);
    swatch->setPalette(palette);
    swatch->setAutoFillBackground(true);
}

}  // namespace

TFrameDlg::TFrameDlg(TFaceModels& Models, QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::FrameDlg>()),
      FEditor(std::make_unique<TFrameEditor>(0, 0, HeadRule(TPhotoFormat::France35x45), std::nullopt)),
      FModels(Models)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    // The texts composed at run time, in the user's language. Each keeps its
    // line in the language files: texts added later come last.
    FTS_frame = new TTextStorage(this, QStringLiteral("TS_frame"), FramingWindowTexts());

    paintSwatch(ui->crown_shp, TFrameView::CrownBandColour());
    paintSwatch(ui->chin_shp, TFrameView::ChinBandColour());
    paintSwatch(ui->eye_shp, TFrameView::EyeBandColour());
    paintSwatch(ui->others_shp, TFrameView::OtherFaceColour());

    connect(ui->auto_btn, &QPushButton::clicked, this, &TFrameDlg::auto_btnClick);
    connect(ui->whole_btn, &QPushButton::clicked, this, &TFrameDlg::whole_btnClick);
    connect(ui->turnleft_btn, &QPushButton::clicked, this, &TFrameDlg::turnleft_btnClick);
    connect(ui->turnright_btn, &QPushButton::clicked, this, &TFrameDlg::turnright_btnClick);
    connect(ui->straighten_btn, &QPushButton::clicked, this, &TFrameDlg::straighten_btnClick);
    // The photo turns once the control rests: the face is measured anew.
    FTurnTimer.setSingleShot(true);
    FTurnTimer.setInterval(kTurnSettles);
    connect(ui->turn_edt, &QDoubleSpinBox::valueChanged, this, [this] { FTurnTimer.start(); });
    connect(&FTurnTimer, &QTimer::timeout, this, [this] { turnTo(ui->turn_edt->value()); });
    connect(ui->zoom_trk, &QSlider::valueChanged, this, &TFrameDlg::zoom_trkChange);
    // Shown under the plain background for an office that refuses it.
    FEditsRefused = new QLabel(this);
    FEditsRefused->setWordWrap(true);
    FEditsRefused->setObjectName(QString());
    FEditsRefused->hide();
    ui->side_lay->insertWidget(ui->side_lay->indexOf(ui->background_lbl), FEditsRefused);
    connect(ui->background_chk, &QCheckBox::clicked, this, &TFrameDlg::background_chkClick);
    connect(ui->background_cmb, &QComboBox::activated, this, &TFrameDlg::background_cmbChange);
    AskColour = [](QWidget* parent, TColor32 current) -> std::optional<TColor32> {
        const QColor chosen = QColorDialog::getColor(QColor::fromRgb(current), parent);
        if (!chosen.isValid())
            return std::nullopt;
        return Color32(chosen.red(), chosen.green(), chosen.blue());
    };
    connect(ui->photo_img, &TFrameView::Changed, this, &TFrameDlg::frameChanged);
    connect(ui->ok_btn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->cancel_btn, &QPushButton::clicked, this, &QDialog::reject);

    KeepWrappedLabelsWhole(*this);
    RegisterForm(this);
}

TFrameDlg::~TFrameDlg() = default;

bool TFrameDlg::Execute(TBitmap32& Photo, const THeadRule& Rule, std::optional<TFrame>& Frame,
                        std::optional<TColor32>& Background, bool Fresh, double* Turn)
{
    Start(Photo, Rule, Frame, Background, Fresh, Turn ? *Turn : 0);
    // The check keeps three rows in sight however small the window gets, a
    // sentence wrapped to two lines among them.
    const int row = std::max(ui->check_lst->iconSize().height(), 2 * ui->check_lst->fontMetrics().lineSpacing()) + 4;
    ui->check_lst->setMinimumHeight(3 * row + 2 * ui->check_lst->frameWidth());
    RestoreWindowSize(*this, kWindowName, {kFrameWindowWidth, kFrameWindowHeight}, parentWidget());
    PlaceOnScreen(*this, parentWidget());
    const int answer = exec();
    RememberWindowSize(kWindowName, size());
    if (answer != QDialog::Accepted)
        return false;
    if (FQuarterTurns % 4 != 0)
        Photo.Assign(&FPhoto);
    Frame = FEditor->Frame();
    Background = this->Background();
    if (Turn)
        *Turn = FTurn;
    rememberBackgroundChoice({ui->background_chk->isChecked(), FBackgroundColour});
    return true;
}

void TFrameDlg::Start(const TBitmap32& Photo, const THeadRule& Rule, const std::optional<TFrame>& Frame,
                      const std::optional<TColor32>& Background, bool Fresh, double Turn)
{
    FPhoto.Assign(&Photo);
    FQuarterTurns = 0;
    FTurnTimer.stop();
    setTurn(Turn);
    ui->turn_edt->FollowInterfaceLanguage();
    showTurn();
    FMessage.clear();
    FEditor = std::make_unique<TFrameEditor>(FPhoto.Width(), FPhoto.Height(), Rule, Frame);
    FEditor->SetHeadLines(FStartLines);
    ui->photo_img->setAccessibleName(::MessageText(Msg::kFrameViewName));
    // The keys work on the picture: it has the focus first.
    ui->photo_img->setFocus();
    // The photo's own choice; a fresh photo starts from the choice last
    // made, unless the office refuses a changed background, which the
    // control then says; the colour last chosen, else the format's, is offered.
    const TBackgroundChoice last = lastBackgroundChoice();
    const bool offered = BackgroundOffered(Rule);
    ui->background_chk->setChecked(Background.has_value() || (Fresh && last.On && offered));
    const QString refused = offered ? QString() : EditsRefusedText(*Rule.Document);
    FEditsRefused->setText(refused);
    FEditsRefused->setVisible(!refused.isEmpty());
    showBackgroundColour(Background.value_or(last.Colour.value_or(DefaultBackgroundColour(Rule))));
    findHead();
    photoChanged();
    if (Fresh && !Frame && FAnalysis && !FAnalysis->Faces.empty())
        auto_btnClick();
}

std::optional<TColor32> TFrameDlg::Background() const
{
    if (!ui->background_chk->isChecked() || !FAnalysis || FAnalysis->Facts.Person.Empty())
        return std::nullopt;
    return FBackgroundColour;
}

void TFrameDlg::background_chkClick(bool)
{
    backgroundChanged();
}

void TFrameDlg::background_cmbChange(int Index)
{
    if (Index == kOwnColourEntry) {
        const std::optional<TColor32> own = AskColour ? AskColour(this, FOwnColour) : std::nullopt;
        if (!own) {
            showBackgroundColour(FBackgroundColour);   // the colour before stays
            return;
        }
        FOwnColour = *own;
        FBackgroundColour = *own;
    } else if (Index >= 0 && Index < kOwnColourEntry) {
        FBackgroundColour = kOfferedBackgrounds[Index];
    }
    // Choosing a colour asks for it.
    ui->background_chk->setChecked(true);
    showBackgroundColour(FBackgroundColour);
    backgroundChanged();
}

void TFrameDlg::showBackgroundColour(TColor32 Colour)
{
    FBackgroundColour = Colour;
    const auto offered = std::find(std::begin(kOfferedBackgrounds), std::end(kOfferedBackgrounds), Colour);
    int index = static_cast<int>(offered - std::begin(kOfferedBackgrounds));
    if (offered == std::end(kOfferedBackgrounds)) {
        FOwnColour = Colour;
        index = kOwnColourEntry;
    }
    const QSignalBlocker quiet(ui->background_cmb);
    ui->background_cmb->setCurrentIndex(index);
    paintSwatch(ui->background_shp, QColor::fromRgb(Colour));
}

void TFrameDlg::backgroundChanged()
{
    const bool person = FAnalysis && !FAnalysis->Facts.Person.Empty();
    ui->background_chk->setEnabled(person);
    ui->background_cmb->setEnabled(person);
    const std::optional<TColor32> colour = Background();
    FMeasuredWithBackground.reset();
    std::optional<TPlainBackground> shown;
    if (colour) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        FMeasuredWithBackground =
            MeasuredWithBackground(seen(), FAnalysis->Facts, FAnalysis->Measured, *colour);
        if (FWholePerson.Empty()) {
            try {
                FWholePerson = WholePhotoPersonMask(seen(), FModels.Mask());
            } catch (const Exception&) {
            }
        }
        QApplication::restoreOverrideCursor();
        shown = TPlainBackground{*colour, FAnalysis->Facts.Person, FWholePerson};
    }
    ui->photo_img->SetBackground(shown);
    showCheck();
}

QString TFrameDlg::HeadText() const
{
    return ui->head_lbl->text();
}

QString TFrameDlg::MessageText() const
{
    return ui->msg_lbl->text();
}

QString TFrameDlg::text(const QString& original) const
{
    return FTS_frame->GetText(original);
}

TWording TFrameDlg::Wording() const
{
    return [this](const QString& original) { return text(original); };
}

// The faces are found and the head measured when the window opens and
// after a turn, once per photo: moving the frame only judges the measures
// again. Without the models the window works as before, without a check.
void TFrameDlg::findHead()
{
    FAnalysis.reset();
    FAppliedLines.reset();
    FWholePerson = {};
    std::optional<THead> head;
    std::vector<QRectF> others;
    if (!FPhoto.Empty()) {
        try {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            FAnalysis = AnalysePhoto(seen(), FModels);
            QApplication::restoreOverrideCursor();
        } catch (const Exception& e) {
            QApplication::restoreOverrideCursor();
            FMessage = e.Message;
        }
    }
    if (FAnalysis && !FAnalysis->Faces.empty()) {
        head = FAnalysis->Faces.front().Head.Head;
        for (std::size_t i = 1; i < FAnalysis->Faces.size(); ++i)
            others.push_back(FAnalysis->Faces[i].Face.Box);
    }
    FEditor->SetHead(head);
    ui->photo_img->SetFaces(head, others);
    // The key names every line drawn: the eye band of the rule, or the
    // measured head's eye line; the other faces' boxes.
    const bool eyes = FEditor->Rule().EyeLineMm.has_value() || head.has_value();
    ui->eye_shp->setVisible(eyes);
    ui->eye_lbl->setVisible(eyes);
    ui->others_shp->setVisible(!others.empty());
    ui->others_lbl->setVisible(!others.empty());
    ui->straighten_btn->setEnabled(FAnalysis && FAnalysis->Measured.HasFace);
    followHeadLines();
}

void TFrameDlg::followHeadLines()
{
    const std::optional<THeadLines>& lines = FEditor->HeadLines();
    if (FAnalysis && lines && lines != FAppliedLines) {
        UseHeadLines(*FAnalysis, seen(), *lines);
        FAppliedLines = lines;
        if (const std::optional<TColor32> colour = Background())
            FMeasuredWithBackground = MeasuredWithBackground(seen(), FAnalysis->Facts, FAnalysis->Measured, *colour);
    }
    // Only a crown the models could not see is worth a word.
    const bool estimated = FAnalysis && !FAnalysis->Faces.empty() && IsEstimated(FAnalysis->Facts.Crown);
    FCrownNote = estimated ? ::MessageText(Msg::kCrownHidden) : QString();
    ui->photo_img->SetCrownNote(FCrownNote);
}

void TFrameDlg::keyPressEvent(QKeyEvent* event)
{
    // The frame's keys work wherever the focus is, when the control that
    // has it left them (the slider keeps its own arrows).
    if (!ui->photo_img->PressKey(*event))
        QDialog::keyPressEvent(event);
}

void TFrameDlg::auto_btnClick()
{
    if (!FAnalysis || FPhoto.Empty()) {
        frameChanged();
        return;
    }
    std::vector<THead> heads;
    for (const TMeasuredFace& face : FAnalysis->Faces)
        heads.push_back(face.Head.Head);
    const TAutoFrame found = AutoFrameForHeads(heads, FEditor->Rule(), Wording());
    // Without a face the check says so already.
    FMessage = heads.empty() ? QString() : found.Message;
    if (found.Frame)
        FEditor->SetFrame(found.Frame);
    ui->photo_img->update();
    frameChanged();
}

void TFrameDlg::whole_btnClick()
{
    FEditor->Clear();
    FMessage.clear();
    ui->photo_img->update();
    frameChanged();
}

void TFrameDlg::turnleft_btnClick()
{
    turn(TOrientation::LeftBottom);
    FQuarterTurns += 3;
}

void TFrameDlg::turnright_btnClick()
{
    turn(TOrientation::RightTop);
    FQuarterTurns += 1;
}

// A photo that is stored upright but shows a sideways scene: the same
// transform that stands a camera's sideways photo upright turns it a quarter.
void TFrameDlg::turn(TOrientation orientation)
{
    TBitmap32 turned;
    TurnUpright(FPhoto, orientation, turned);
    FPhoto.Assign(&turned);
    // A fine turn belonged to the other side up.
    setTurn(0);
    showTurn();
    FEditor->PhotoTurned();
    FMessage.clear();
    findHead();
    photoChanged();
}

const TBitmap32& TFrameDlg::seen() const
{
    return FTurn != 0 ? FTurned : FPhoto;
}

void TFrameDlg::setTurn(double Degrees)
{
    FTurn = Degrees;
    FTurned.Delete();
    if (Degrees != 0)
        TurnPhoto(FPhoto, Degrees, FTurned);
}

void TFrameDlg::showTurn()
{
    const QSignalBlocker quiet(ui->turn_edt);
    ui->turn_edt->setValue(FTurn);
    ui->straighten_btn->setEnabled(FAnalysis && FAnalysis->Measured.HasFace);
}

void TFrameDlg::turnTo(double Degrees)
{
    Degrees = std::clamp(Degrees, -kMaxTurn, kMaxTurn);
    if (Degrees == FTurn || FPhoto.Empty())
        return;
    // The frame stays on what it held: its centre turns with the photo.
    if (FEditor->Frame()) {
        TFrame moved = *FEditor->Frame();
        const double a = (FTurn - Degrees) * std::numbers::pi / 180;
        const double cx = FPhoto.Width() / 2.0, cy = FPhoto.Height() / 2.0;
        const double dx = moved.CentreX() - cx, dy = moved.Y + moved.Height / 2 - cy;
        moved.X = cx + dx * std::cos(a) - dy * std::sin(a) - moved.Width / 2;
        moved.Y = cy + dx * std::sin(a) + dy * std::cos(a) - moved.Height / 2;
        FEditor->SetFrame(moved);
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setTurn(Degrees);
    QApplication::restoreOverrideCursor();
    FMessage.clear();
    findHead();
    photoChanged();
    showTurn();
}

void TFrameDlg::straighten_btnClick()
{
    if (!FAnalysis)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::optional<double> more = LevellingTurn(seen(), *FAnalysis);
    QApplication::restoreOverrideCursor();
    if (more)
        turnTo(std::round((FTurn + *more) * 10) / 10);
}

void TFrameDlg::zoom_trkChange(int Value)
{
    if (FSettingZoom)
        return;
    FEditor->SetZoom(1 + Value / kSliderPerZoom);
    ui->photo_img->update();
    frameChanged();
}

void TFrameDlg::photoChanged()
{
    ui->photo_img->SetPhoto(&seen(), FEditor.get());
    frameChanged();
    backgroundChanged();
}

void TFrameDlg::frameChanged()
{
    followHeadLines();
    // The slider follows the wheel without zooming again.
    FSettingZoom = true;
    ui->zoom_trk->setValue(static_cast<int>(std::lround((FEditor->Zoom() - 1) * kSliderPerZoom)));
    FSettingZoom = false;

    const std::optional<THeadCheck> check = FEditor->Check();
    ui->head_lbl->setText(check ? HeadSizeText(*check, FEditor->Rule(), Wording())
                                : text(QString::fromLatin1(kNoHeadText)));
    QString message = FMessage;
    if (!FPhoto.Empty() && FEditor->LowResolution()) {
        if (!message.isEmpty())
            message += u'\n';
        message += text(QString::fromLatin1(kLowResolutionText))
                       .arg(std::lround(PrintedPixelsPerInch(FEditor->Shown(), FEditor->Rule())));
    }
    // Said only when a background was asked for: without a face the head
    // line says enough.
    if (FAnalysis && FAnalysis->Facts.Person.Empty() && ui->background_chk->isChecked()) {
        if (!message.isEmpty())
            message += u'\n';
        message += text(QString::fromLatin1(kNoPersonText));
    }
    ui->msg_lbl->setText(message);
    showCheck();
}

// The photo check for the frame as it stands: one line per measure, a mark
// of its verdict before its sentence, the measure's row (what it measures,
// its value, the limits and their source) in its tip.
void TFrameDlg::showCheck()
{
    ui->check_lst->clear();
    if (!FAnalysis)
        return;
    const TFrame frame = FEditor->Frame() ? *FEditor->Frame()
                                          : UnframedFrame(FPhoto.Width(), FPhoto.Height(), FEditor->Rule());
    FMeasures = CheckPhoto(FAnalysis->Facts, FMeasuredWithBackground.value_or(FAnalysis->Measured), frame,
                           FEditor->Rule(), Wording(), DocumentNameOf(FEditor->Rule()));
    ShowMeasures(*ui->check_lst, FMeasures);
}
