#pragma once

#include "C_LangList.h"

#include <QFrame>
#include <QPointer>

class QLabel;
class QListWidget;
class QPainter;

/// The control with which the user picks the interface language: a title
/// line with information about the current translation, a bevel, and an
/// owner-drawn list of the available languages, each row a flag in a cream
/// frame and its display text. A click switches at once.
///
/// Its three parts are its own, not components of the form it sits on.
class TLanguageChoice : public QFrame {
    Q_OBJECT
    Q_PROPERTY(TLangList* LanguageList READ LanguageList WRITE SetLanguageList)

public:
    /// Row height of the language list, in pixels.
    static constexpr int kRowHeight = 32;
    /// The flag frame: 0xF0FBFF in blue-green-red order, i.e. red 0xFF,
    /// green 0xFB, blue 0xF0 (cream).
    static constexpr unsigned kFrameColorBgr = 0xF0FBFF;

    explicit TLanguageChoice(QWidget* parent = nullptr);
    ~TLanguageChoice() override;

    TLangList* LanguageList() const { return FLanguageList; }
    /// Binds the chooser: builds the list's languages, copies their display
    /// texts into the list box, and puts its own after-switch handler in
    /// front of the list's (which it then calls with the chooser as Sender).
    /// nullptr only empties the list box. Bind once: the texts are copied now
    /// and not refreshed.
    void SetLanguageList(TLangList* value);

    QLabel* TitleLabel() const { return FTitleLabel; }
    QFrame* Bevel() const { return FBevel; }
    QListWidget* LanguageListBox() const { return FLanguageListBox; }

    /// Raised with the chooser as Sender after every click on the list.
    TNotifyEvent OnClick;
    /// Shows why a chosen language file could not be applied; a message box
    /// over the window unless replaced.
    std::function<void(QWidget* parent, const QString& message)> ShowError;

    /// The after-switch handler: selects the list's LanguageIndex, calls the
    /// handler it replaced, and shows "  " + CurrentLanguageInfo.
    void LanguageSwitched(QObject* Sender);
    /// A click on the list box: switches to its current row under the busy
    /// cursor and shows CurrentLanguageInfo without the leading blanks; with
    /// no list bound nothing happens.
    void LanguageListBoxClick();

    /// Draws row `index` into `r` as the list box shows it: `brush` fills the
    /// row (the selection colour for the selected one), then the flag in its
    /// frame at the left and the text in `textColor`. Nothing without a list.
    void DrawRow(QPainter& canvas, int index, const QRect& r, const QBrush& brush,
                 const QColor& textColor) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutParts();

    QPointer<TLangList> FLanguageList;
    QLabel* FTitleLabel;
    QFrame* FBevel;
    QListWidget* FLanguageListBox;
    /// The list's after-switch handler from before the binding.
    TNotifyEvent FPreviousAfterSwitch;
};
