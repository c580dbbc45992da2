#include "U_SettingsDlg.h"

#include "ui_U_SettingsDlg.h"

#include "lang_components.h"
#include "on_screen.h"
#include "Lang_langChoice.h"

TSettingsDlg::TSettingsDlg(TLangList* langue, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::SettingsDlg>())
{
    ui->setupUi(this);
    // A fixed single border with the system menu and the minimise box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(289, 363);
    ui->LanguageChoice1->SetLanguageList(langue);
    RegisterForm(this);
}

TSettingsDlg::~TSettingsDlg() = default;

TLanguageChoice* TSettingsDlg::LanguageChoice1() const
{
    return ui->LanguageChoice1;
}

bool TSettingsDlg::Execute()
{
    QWidget* mainForm = TApplicationForms::Application().MainForm();
    PlaceOnScreen(*this, parentWidget() ? parentWidget() : mainForm);
    return exec() == QDialog::Accepted;
}
