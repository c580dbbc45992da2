#pragma once

#include <QDialog>

#include <memory>

class TLangList;
class TLanguageChoice;

namespace Ui {
class SettingsDlg;
}

/// The settings dialog: the language chooser LanguageChoice1, bound to the
/// main window's language list. It has no buttons; every click in the list
/// switches the language at once, and the close box closes it.
class TSettingsDlg : public QDialog {
    Q_OBJECT

public:
    /// Creates the form, binds its chooser to `langue` (which builds the
    /// language list) and registers the form with the application's forms.
    explicit TSettingsDlg(TLangList* langue, QWidget* parent = nullptr);
    ~TSettingsDlg() override;

    TLanguageChoice* LanguageChoice1() const;

    /// Shows the dialog modally, centred on the main form; true when it was
    /// closed with OK, which this dialog never is.
    bool Execute();

private:
    std::unique_ptr<Ui::SettingsDlg> ui;
};
