#pragma once

#include "sheet_formats.h"

#include <QComboBox>
#include <QPointer>

#include <vector>

class QFrame;
class QLineEdit;
class QListWidget;

/// The main window's format list as a chooser: closed, the combo box it has
/// always been (its items the formats of the list, at their places); open, a
/// search field over the formats grouped as the last choices, the sizes of
/// the list (the original three first) and the documents by country, the
/// countries in the interface's language. Typing narrows the list to the
/// formats whose country, document or text hold the words (ChooserMatches);
/// choosing one makes it current and the first of the last choices.
class TFormatChooser : public QComboBox {
    Q_OBJECT
public:
    explicit TFormatChooser(QWidget* parent = nullptr);

    /// Lists `Formats` (ShowFormats); the caller chooses the current one.
    void SetFormats(const std::vector<TSheetFormat>& Formats);

    /// The open list's search field, while the list is open.
    QLineEdit* SearchField() const;
    /// The open list's entries: headers (no format) and formats.
    QListWidget* Entries() const;

    void showPopup() override;
    void hidePopup() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillEntries(const QString& text);
    void choose(int index);

    std::vector<TSheetFormat> FFormats;
    QPointer<QFrame> FPopup;
    QLineEdit* FSearch = nullptr;
    QListWidget* FEntries = nullptr;
};
