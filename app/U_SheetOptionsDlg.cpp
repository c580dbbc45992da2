#include "U_SheetOptionsDlg.h"

#include "ui_U_SheetOptionsDlg.h"

#include "messages.h"
#include "interface_numbers.h"
#include "lang_components.h"
#include "number_box.h"
#include "on_screen.h"
#include "packed_layout.h"
#include "photo_lab_printer.h"
#include "printer.h"
#include "sheet_settings.h"

#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace {

QString RangeText(const char* wording, const TRange& r)
{
    return MessageText(wording).arg(FormatNumber(r.Min, -1), FormatNumber(r.Max, -1));
}

// One line of the list: the name and size, then the rules the format carries.
QString FormatLine(const TOwnFormat& f)
{
    QString line = f.Name.isEmpty() ? OwnSheetFormat(f, 0).Text
                                    : MessageText(Msg::kNamedOwnFormat).arg(f.Name).arg(f.WidthMm).arg(f.HeightMm);
    if (f.HeadMm)
        line += QStringLiteral("  ·  ") + RangeText(Msg::kHeadRange, *f.HeadMm);
    if (f.EyeLineMm)
        line += QStringLiteral("  ·  ") + RangeText(Msg::kEyeRange, *f.EyeLineMm);
    return line;
}

}  // namespace

TSheetOptionsDlg::TSheetOptionsDlg(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::SheetOptionsDlg>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(size());
    addNameField();
    connect(ui->add_btn, &QPushButton::clicked, this, &TSheetOptionsDlg::add_btnClick);
    connect(ui->remove_btn, &QPushButton::clicked, this, &TSheetOptionsDlg::remove_btnClick);
    connect(ui->calibforget_btn, &QPushButton::clicked, this, &TSheetOptionsDlg::calibforget_btnClick);
    connect(ui->calibprint_btn, &QPushButton::clicked, this, &TSheetOptionsDlg::CalibrationPageRequested);
    connect(ui->formats_lst, &QListWidget::currentRowChanged, this, &TSheetOptionsDlg::formats_lstChange);
    connect(ui->head_chk, &QCheckBox::toggled, this, &TSheetOptionsDlg::updateControls);
    connect(ui->eye_chk, &QCheckBox::toggled, this, &TSheetOptionsDlg::updateControls);
    connect(ui->packed_rdo, &QRadioButton::toggled, this, &TSheetOptionsDlg::updateControls);
    connect(ui->printon_cmb, &QComboBox::currentIndexChanged, this, &TSheetOptionsDlg::updateControls);
    connect(ui->ok_btn, &QPushButton::clicked, this, &TSheetOptionsDlg::ok_btnClick);
    connect(ui->cancel_btn, &QPushButton::clicked, this, &QDialog::reject);
    // Queued: the field puts a refused text back only once the spin box has
    // finished with it.
    for (TNumberBox* box : numberBoxes())
        connect(box, &TNumberBox::editingFinished, this, [this, box] { numberEdited(*box); }, Qt::QueuedConnection);
    RegisterForm(this);
}

TSheetOptionsDlg::~TSheetOptionsDlg() = default;

bool TSheetOptionsDlg::Execute(const QString& printerName)
{
    Start(printerName);
    PlaceOnScreen(*this, parentWidget());
    return exec() == QDialog::Accepted;
}

void TSheetOptionsDlg::Start(const QString& printerName)
{
    FPrinterName = printerName;
    FOwnFormats = LoadOwnFormats();
    FCalibration = printerName.isEmpty() ? std::nullopt : LoadCalibration(printerName);
    // A language switch since the last time changes how numbers are written.
    for (TNumberBox* box : numberBoxes())
        box->FollowInterfaceLanguage();
    ui->cutmarks_chk->setChecked(LoadCutMarks());
    const TSheetLayout layout = LoadSheetLayout();
    (layout.Packed() ? ui->packed_rdo : ui->even_rdo)->setChecked(true);
    ui->gap_edt->setValue(layout.GapTenthsMm / 10.0);
    ui->labmargin_edt->setValue(layout.LabMarginTenthsMm / 10.0);
    showPrinterChoice(printerName);
    ui->printername_lbl->setText(ShownPrinterName(printerName));
    ui->across_edt->setValue(FCalibration ? FCalibration->AcrossMm : 100);
    ui->down_edt->setValue(FCalibration ? FCalibration->DownMm : 100);
    ui->status_lbl->clear();
    showFormats();
}

void TSheetOptionsDlg::showFormats()
{
    ui->formats_lst->clear();
    // A named format's line may be wider than the list: its hint holds it whole.
    for (const TOwnFormat& f : FOwnFormats) {
        ui->formats_lst->addItem(FormatLine(f));
        ui->formats_lst->item(ui->formats_lst->count() - 1)->setToolTip(FormatLine(f));
    }
    updateControls();
}

void TSheetOptionsDlg::updateControls()
{
    ui->remove_btn->setEnabled(ui->formats_lst->currentRow() >= 0);
    ui->headmin_edt->setEnabled(ui->head_chk->isChecked());
    ui->headmax_edt->setEnabled(ui->head_chk->isChecked());
    ui->eyemin_edt->setEnabled(ui->eye_chk->isChecked());
    ui->eyemax_edt->setEnabled(ui->eye_chk->isChecked());
    const bool printer = !FPrinterName.isEmpty();
    for (QWidget* w : {static_cast<QWidget*>(ui->calibprint_btn), static_cast<QWidget*>(ui->across_edt),
                       static_cast<QWidget*>(ui->down_edt)})
        w->setEnabled(printer);
    ui->calibforget_btn->setEnabled(FCalibration.has_value());
    ui->gap_edt->setEnabled(ui->packed_rdo->isChecked());
    // The margin is the photo labs' alone.
    ui->labmargin_lbl->setEnabled(ui->printon_cmb->currentIndex() > 0);
    ui->labmargin_edt->setEnabled(ui->printon_cmb->currentIndex() > 0);
    ui->gap_lbl->setEnabled(ui->packed_rdo->isChecked());
}

void TSheetOptionsDlg::showPrinterChoice(const QString& printerName)
{
    // The installed printer (or "Print to PDF") first, then the photo labs.
    ui->printon_cmb->clear();
    ui->printon_cmb->addItem(MessageText(Msg::kChosenPrinter));
    const QStringList labs = PhotoLabPrinterNames();
    for (const QString& lab : labs)
        ui->printon_cmb->addItem(ShownPrinterName(lab));
    ui->printon_cmb->setCurrentIndex(static_cast<int>(labs.indexOf(printerName)) + 1);
}

void TSheetOptionsDlg::storePrinterChoice()
{
    const int index = ui->printon_cmb->currentIndex();
    const QStringList labs = PhotoLabPrinterNames();
    const bool wasLab = labs.contains(FPrinterName);
    if (index <= 0) {
        // Back from a photo lab to the system's printer.
        if (wasLab)
            SetPrinter(SystemDefaultPrinter());
        return;
    }
    if (labs.value(index - 1) != FPrinterName)
        SetPrinter(PhotoLabPrinterNamed(labs.value(index - 1)));
}

void TSheetOptionsDlg::addNameField()
{
    // The list gives up its lowest row of space for the field.
    QRect list = ui->formats_lst->geometry();
    list.setBottom(ui->add_btn->geometry().top() - 8);
    ui->formats_lst->setGeometry(list);
    auto* label = new QLabel(ui->formats_grp);
    label->setObjectName(QStringLiteral("name_lbl"));
    label->setText(QStringLiteral("&Name:"));
    // Unnamed: the typed name is the user's, no language file's.
    FName_edt = new QLineEdit(ui->formats_grp);
    FName_edt->setMaxLength(kMaxFormatNameLength);
    label->setBuddy(FName_edt);
    const QRect row = ui->add_btn->geometry();
    label->setGeometry(list.left(), row.top(), 56, row.height());
    FName_edt->setGeometry(list.left() + 58, row.top(), list.width() - 58, row.height());
    setTabOrder(ui->formats_lst, FName_edt);
    setTabOrder(FName_edt, ui->width_edt);
}

void TSheetOptionsDlg::formats_lstChange(int row)
{
    // The chosen format's values in the fields: a start for a similar one.
    if (row >= 0 && row < static_cast<int>(FOwnFormats.size())) {
        const TOwnFormat& f = FOwnFormats[static_cast<std::size_t>(row)];
        ui->width_edt->setValue(f.WidthMm);
        ui->height_edt->setValue(f.HeightMm);
        FName_edt->setText(f.Name);
        ui->head_chk->setChecked(f.HeadMm.has_value());
        ui->eye_chk->setChecked(f.EyeLineMm.has_value());
        if (f.HeadMm) {
            ui->headmin_edt->setValue(f.HeadMm->Min);
            ui->headmax_edt->setValue(f.HeadMm->Max);
        }
        if (f.EyeLineMm) {
            ui->eyemin_edt->setValue(f.EyeLineMm->Min);
            ui->eyemax_edt->setValue(f.EyeLineMm->Max);
        }
    }
    updateControls();
}

std::vector<TNumberBox*> TSheetOptionsDlg::numberBoxes() const
{
    return {ui->gap_edt,    ui->labmargin_edt, ui->headmin_edt, ui->headmax_edt,
            ui->eyemin_edt, ui->eyemax_edt,    ui->across_edt,  ui->down_edt};
}

std::optional<double> TSheetOptionsDlg::typedNumber(const TNumberBox& box)
{
    const std::optional<double> number = box.Number();
    // The example shows the language's decimal separator.
    if (!number) {
        FNumberRefusal =
            MessageText(Msg::kNotANumber).arg(box.TypedText().trimmed(), FormatNumber(99.5, 1, box.locale()));
        ui->status_lbl->setText(FNumberRefusal);
    }
    return number;
}

void TSheetOptionsDlg::numberEdited(const TNumberBox& box)
{
    // A text put right takes its refusal away.
    if (typedNumber(box) && ui->status_lbl->text() == FNumberRefusal)
        ui->status_lbl->clear();
}

std::optional<TRange> TSheetOptionsDlg::typedRange(const TNumberBox& min, const TNumberBox& max)
{
    const std::optional<double> from = typedNumber(min);
    const std::optional<double> to = from ? typedNumber(max) : std::nullopt;
    if (!to)
        return std::nullopt;
    return TRange{*from, *to};
}

void TSheetOptionsDlg::add_btnClick()
{
    TOwnFormat f{ui->width_edt->value(), ui->height_edt->value(), std::nullopt, std::nullopt,
                 FName_edt->text().trimmed()};
    if (ui->head_chk->isChecked()) {
        f.HeadMm = typedRange(*ui->headmin_edt, *ui->headmax_edt);
        if (!f.HeadMm)
            return;
    }
    if (ui->eye_chk->isChecked()) {
        f.EyeLineMm = typedRange(*ui->eyemin_edt, *ui->eyemax_edt);
        if (!f.EyeLineMm)
            return;
    }
    try {
        CheckOwnFormat(f);
        CheckNotShipped(f);
    } catch (const ESheetFormat& e) {
        ui->status_lbl->setText(e.Message);
        return;
    }
    ui->status_lbl->clear();
    // The format list has one entry per size: an own format of a size
    // already there takes that one's place, with its new name and rules.
    const auto same = std::find_if(FOwnFormats.begin(), FOwnFormats.end(), [&](const TOwnFormat& o) {
        return o.WidthMm == f.WidthMm && o.HeightMm == f.HeightMm;
    });
    if (same != FOwnFormats.end())
        *same = f;
    else
        FOwnFormats.push_back(f);
    showFormats();
}

void TSheetOptionsDlg::remove_btnClick()
{
    const int row = ui->formats_lst->currentRow();
    if (row < 0 || row >= static_cast<int>(FOwnFormats.size()))
        return;
    FOwnFormats.erase(FOwnFormats.begin() + row);
    showFormats();
}

void TSheetOptionsDlg::calibforget_btnClick()
{
    FCalibration.reset();
    ui->across_edt->setValue(100);
    ui->down_edt->setValue(100);
    updateControls();
}

bool TSheetOptionsDlg::store()
{
    // Nothing is stored while a ruler's length is no number.
    const std::optional<TRange> rulers =
        FPrinterName.isEmpty() ? TRange{100, 100} : typedRange(*ui->across_edt, *ui->down_edt);
    if (!rulers)
        return false;
    const std::optional<double> gap = typedNumber(*ui->gap_edt);
    if (!gap)
        return false;
    const std::optional<double> labMargin = typedNumber(*ui->labmargin_edt);
    if (!labMargin)
        return false;
    try {
        SaveCutMarks(ui->cutmarks_chk->isChecked());
        SaveSheetLayout({ui->packed_rdo->isChecked() ? TSheetArrangement::Packed : TSheetArrangement::Even,
                         qRound(*gap * 10), qRound(*labMargin * 10)});
        SaveOwnFormats(FOwnFormats);
        if (!FPrinterName.isEmpty()) {
            const TCalibration typed{rulers->Min, rulers->Max};
            // Untouched rulers at 100 mm mean the printer was not calibrated.
            if (FCalibration || typed != TCalibration{})
                SaveCalibration(FPrinterName, typed);
            else
                ForgetCalibration(FPrinterName);
        }
        storePrinterChoice();
    } catch (const Exception& e) {
        ui->status_lbl->setText(e.Message);
        return false;
    }
    return true;
}

void TSheetOptionsDlg::ok_btnClick()
{
    if (store())
        accept();
}
