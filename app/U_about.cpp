#include "U_about.h"

#include "ui_U_about.h"

#include "C_TextStorage.h"
#include "lang_components.h"
#include "on_screen.h"
#include "U_UnicodeUtils.h"
#include "about_art.h"
#include "links.h"

#include <QApplication>
#include <QPixmap>

namespace {

const char kTagline[] = "Identity photo sheets";

}  // namespace

TAboutDlg::TAboutDlg(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::AboutDlg>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(389, 285);
    const QIcon applicationIcon = QApplication::windowIcon();
    setWindowIcon(applicationIcon.isNull() ? ProgramIcon() : applicationIcon);
    // The banner's tagline is the storage's last line: its lines keep their
    // places in the language files.
    FTS_about = new TTextStorage(this, QStringLiteral("TS_about"),
                                 {QStringLiteral("About"), QStringLiteral("Application Name :"),
                                  QStringLiteral("Version :"), QStringLiteral("unused"),
                                  QString::fromLatin1(kTagline)});
    ui->Image1->setPixmap(QPixmap::fromImage(AboutBanner(QString::fromLatin1(kTagline))));

    connect(ui->email_btn, &QPushButton::clicked, this, &TAboutDlg::email_btnClick);
    connect(ui->web_btn, &QPushButton::clicked, this, &TAboutDlg::web_btnClick);
    connect(ui->forum_btn, &QPushButton::clicked, this, &TAboutDlg::forum_btnClick);
    connect(ui->ok_btn, &QPushButton::clicked, this, &QDialog::accept);
    RegisterForm(this);
}

TAboutDlg::~TAboutDlg() = default;

bool TAboutDlg::Execute()
{
    UpdateTexts();
    QWidget* mainForm = TApplicationForms::Application().MainForm();
    PlaceOnScreen(*this, parentWidget() ? parentWidget() : mainForm);
    return exec() == QDialog::Accepted;
}

void TAboutDlg::UpdateTexts()
{
    // Composed at every showing, so that a language switch since the last
    // one shows.
    const QString title = QCoreApplication::applicationName();
    const QChar blank(u' ');
    setWindowTitle(FTS_about->GetText(QStringLiteral("About")) + blank + title);
    ui->appname_lbl->setText(FTS_about->GetText(QStringLiteral("Application Name :")) + blank + title);
    ui->version_lbl->setText(FTS_about->GetText(QStringLiteral("Version :")) + blank +
                             GetFileVersionString(QCoreApplication::applicationFilePath()));
    ui->Image1->setPixmap(QPixmap::fromImage(AboutBanner(FTS_about->GetText(QString::fromLatin1(kTagline)))));
}

void TAboutDlg::email_btnClick()
{
    OpenAddressOrShowIt(this, Links::kEmail);
}

void TAboutDlg::web_btnClick()
{
    OpenAddressOrShowIt(this, Links::kWebSite);
}

void TAboutDlg::forum_btnClick()
{
    OpenAddressOrShowIt(this, Links::kForum);
}
