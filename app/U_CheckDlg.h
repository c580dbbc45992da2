#pragma once

#include "measure.h"

#include <QDialog>

#include <memory>

namespace Ui {
class CheckDlg;
}

/// The photo check of the main window's photo as it prints: its summary and
/// every measure, as the framing window lists them. Opened from the status
/// line's summary.
class TCheckDlg : public QDialog {
    Q_OBJECT

public:
    /// Creates the form and registers it with the application's forms.
    explicit TCheckDlg(QWidget* parent = nullptr);
    ~TCheckDlg() override;

    /// Fills the window with Measures and their Summary.
    void Start(const TMeasures& Measures, const QString& Summary);
    /// Start, then shows the window modally.
    void Execute(const TMeasures& Measures, const QString& Summary);

private:
    std::unique_ptr<Ui::CheckDlg> ui;
};
