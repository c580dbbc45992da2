#include "U_CheckDlg.h"
#include "ui_U_CheckDlg.h"

#include "check_list.h"
#include "lang_components.h"
#include "on_screen.h"
#include "window_sizes.h"
#include "wrapped_labels.h"

TCheckDlg::TCheckDlg(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::CheckDlg>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    connect(ui->close_btn, &QPushButton::clicked, this, &QDialog::accept);
    KeepWrappedLabelsWhole(*this);
    RegisterForm(this);
}

TCheckDlg::~TCheckDlg() = default;

void TCheckDlg::Start(const TMeasures& Measures, const QString& Summary)
{
    ui->summary_lbl->setText(Summary);
    ShowMeasures(*ui->check_lst, Measures);
    ui->close_btn->setFocus();
}

void TCheckDlg::Execute(const TMeasures& Measures, const QString& Summary)
{
    Start(Measures, Summary);
    RestoreWindowSize(*this, QStringLiteral("Check"), {520, 380}, parentWidget());
    PlaceOnScreen(*this, parentWidget());
    exec();
    RememberWindowSize(QStringLiteral("Check"), size());
}
