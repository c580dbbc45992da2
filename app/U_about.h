#pragma once

#include <QDialog>

#include <memory>

class TTextStorage;

namespace Ui {
class AboutDlg;
}

/// The About window: the program's name and version, and links to its maker
/// (e-mail, web site, forum). Its fixed texts are translated with every form;
/// the three it composes come from TS_about, so they are translated too.
class TAboutDlg : public QDialog {
    Q_OBJECT

public:
    /// Creates the form and registers it with the application's forms.
    explicit TAboutDlg(QWidget* parent = nullptr);
    ~TAboutDlg() override;

    /// UpdateTexts, then shows the window modally; true when closed with OK.
    bool Execute();
    /// Composes the caption "About Quorlo", the labels "Application Name :
    /// Quorlo" and "Version : 1.0.0.0" and the banner's tagline from
    /// TS_about's current wording, the application name and the running
    /// program's file version (or the reason it has none).
    void UpdateTexts();

    TTextStorage* TS_about() const { return FTS_about; }

    void email_btnClick();
    void web_btnClick();
    void forum_btnClick();

private:
    std::unique_ptr<Ui::AboutDlg> ui;
    TTextStorage* FTS_about;
};
