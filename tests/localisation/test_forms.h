#pragma once

#include "C_TextStorage.h"
#include "lang_components.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>

#include <memory>

/// Two small forms in the shape of the program's: a main window and an About
/// window, created in that order under their own translation root.
struct TestForms {
    TestForms();
    ~TestForms();

    TApplicationForms Root;

    std::unique_ptr<QDialog> MainDlg;
    QGroupBox* preview_grp;
    QWidget* img;
    QPushButton* JvBitBtn1;
    QGroupBox* opt_grp;
    QComboBox* format_cmb;
    QLabel* num_lbl;
    QLabel* dynnum_lbl;
    QLabel* blank_lbl;
    QPushButton* print_btn;
    QPlainTextEdit* notes_mem;
    QListWidget* sizes_lst;
    QStatusBar* StatusBar;
    QMenuBar* MainMenu;
    QMenu* File1;
    QAction* LoadPicture1;
    QAction* Exit1;

    std::unique_ptr<QDialog> AboutDlg;
    QLabel* aboutImg;   ///< named "img" as well
    QPushButton* ok_btn;
    TTextStorage* TS_about;

    /// Every caption, text, hint, list and font of both forms, for "nothing
    /// changed" checks.
    QString Snapshot() const;
};
