#pragma once

#include "calibration.h"
#include "sheet_formats.h"

#include <QDialog>

class QLineEdit;

#include <memory>
#include <optional>
#include <vector>

namespace Ui {
class SheetOptionsDlg;
}
class TNumberBox;

/// The sheet options: cut marks on or off, the copies spread evenly or
/// packed with a gap, the printer (the installed one or a photo lab's, with
/// the margin a lab print keeps clear), the user's own photo formats
/// (width x height in millimetres with optional head-height and eye-line
/// rules), and the current printer's calibration (print the page with the
/// rulers, type their measured lengths). Everything is read from the settings
/// when the dialog starts and stored on OK; Cancel changes nothing. A value
/// that cannot be used is named in the dialog's status line, which keeps the
/// dialog open.
class TSheetOptionsDlg : public QDialog {
    Q_OBJECT

public:
    /// Creates the form and registers it with the application's forms.
    explicit TSheetOptionsDlg(QWidget* parent = nullptr);
    ~TSheetOptionsDlg() override;

    /// Start, then shows the dialog modally; true when it was closed with OK
    /// and everything was stored.
    bool Execute(const QString& printerName);

    /// Loads the settings for the named printer into the controls.
    void Start(const QString& printerName);

    /// The own formats as the list shows them now.
    const std::vector<TOwnFormat>& OwnFormats() const { return FOwnFormats; }

signals:
    /// "Print calibration page" was clicked: the owner prints the rulers on
    /// the current printer.
    void CalibrationPageRequested();

private:
    void formats_lstChange(int row);
    void add_btnClick();
    void remove_btnClick();
    void calibforget_btnClick();
    void ok_btnClick();
    void updateControls();
    /// The printer list: the one chosen in the printer settings, then the
    /// photo lab printers; `printerName` is selected when it is one of them.
    void showPrinterChoice(const QString& printerName);
    /// Makes the chosen printer current when it changed (SetPrinter).
    void storePrinterChoice();
    void showFormats();
    /// The own format's name field, under the list beside "Add".
    void addNameField();
    /// Stores every option; false, with the reason in the status line, when
    /// a value cannot be used or stored.
    bool store();
    std::vector<TNumberBox*> numberBoxes() const;
    /// A number field's number as typed; a text that is no number is refused
    /// in the status line.
    std::optional<double> typedNumber(const TNumberBox& box);
    /// Two fields read as one range (or two ruler lengths); the first refusal
    /// ends it.
    std::optional<TRange> typedRange(const TNumberBox& min, const TNumberBox& max);
    /// A field left: its text refused at once, or its refusal taken away.
    void numberEdited(const TNumberBox& box);

    std::unique_ptr<Ui::SheetOptionsDlg> ui;
    QLineEdit* FName_edt = nullptr;
    QString FPrinterName;
    std::vector<TOwnFormat> FOwnFormats;
    std::optional<TCalibration> FCalibration;
    QString FNumberRefusal;   // the status line's last refusal of a number
};
