#include "format_chooser.h"

#include "country_names.h"
#include "format_choice.h"
#include "messages.h"
#include "sheet_settings.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

namespace {

// The list entry's format index; none for a header.
constexpr int kFormatRole = Qt::UserRole;
// The open list's width in average characters: a country and a document
// with its size fit.
constexpr int kPopupChars = 46;
constexpr int kPopupRows = 18;

void addHeader(QListWidget& list, const QString& text)
{
    auto* item = new QListWidgetItem(text, &list);
    QFont font = item->font();
    font.setBold(true);
    item->setFont(font);
    item->setFlags(Qt::ItemIsEnabled);
    item->setData(kFormatRole, -1);
}

void addFormat(QListWidget& list, const QString& text, int index)
{
    auto* item = new QListWidgetItem(QStringLiteral("    ") + text, &list);
    item->setData(kFormatRole, index);
}

}  // namespace

// No tip of its own: a control's tip is a text of the language files.
TFormatChooser::TFormatChooser(QWidget* parent) : QComboBox(parent) {}

void TFormatChooser::SetFormats(const std::vector<TSheetFormat>& Formats)
{
    FFormats = Formats;
    ShowFormats(*this, FFormats);
}

QLineEdit* TFormatChooser::SearchField() const
{
    return FSearch;
}

QListWidget* TFormatChooser::Entries() const
{
    return FEntries;
}

void TFormatChooser::showPopup()
{
    if (FFormats.empty()) {
        QComboBox::showPopup();
        return;
    }
    if (!FPopup) {
        FPopup = new QFrame(this, Qt::Popup);
        FPopup->setFrameShape(QFrame::StyledPanel);
        auto* layout = new QVBoxLayout(FPopup);
        layout->setContentsMargins(2, 2, 2, 2);
        layout->setSpacing(2);
        FSearch = new QLineEdit(FPopup);
        FSearch->setClearButtonEnabled(true);
        FEntries = new QListWidget(FPopup);
        FEntries->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        FEntries->setTextElideMode(Qt::ElideRight);
        layout->addWidget(FSearch);
        layout->addWidget(FEntries);
        FSearch->installEventFilter(this);
        connect(FSearch, &QLineEdit::textChanged, this, &TFormatChooser::fillEntries);
        connect(FEntries, &QListWidget::itemActivated, this,
                [this](QListWidgetItem* item) { choose(item->data(kFormatRole).toInt()); });
        connect(FEntries, &QListWidget::itemClicked, this,
                [this](QListWidgetItem* item) { choose(item->data(kFormatRole).toInt()); });
    }
    // Made afresh each time: in the language of the moment.
    FSearch->setPlaceholderText(MessageText(Msg::kChooserSearch));
    FSearch->setAccessibleName(MessageText(Msg::kChooserSearch));
    FSearch->clear();
    fillEntries({});
    const QFontMetrics metrics(font());
    // As wide as the longest entry of the whole list, so that none is cut
    // and narrowing the list by a search never changes the width.
    const int entries = FEntries->sizeHintForColumn(0) + FEntries->verticalScrollBar()->sizeHint().width()
                        + 2 * FEntries->frameWidth() + 8;
    const int width = std::max({this->width(), metrics.averageCharWidth() * kPopupChars, entries});
    const int height = metrics.lineSpacing() * kPopupRows;
    QPoint place = mapToGlobal(QPoint(0, this->height()));
    if (const QScreen* screen = this->screen()) {
        // Kept on the screen: above the box when there is no room below.
        const QRect room = screen->availableGeometry();
        if (place.y() + height > room.bottom())
            place.setY(std::max(room.top(), mapToGlobal(QPoint(0, 0)).y() - height));
        place.setX(std::clamp(place.x(), room.left(), std::max(room.left(), room.right() - width)));
    }
    FPopup->setGeometry(QRect(place, QSize(width, height)));
    FPopup->show();
    FSearch->setFocus();
}

void TFormatChooser::hidePopup()
{
    if (FPopup)
        FPopup->hide();
    QComboBox::hidePopup();
}

bool TFormatChooser::eventFilter(QObject* watched, QEvent* event)
{
    // The search field leads the list: Up and Down move in it, Enter chooses.
    if (watched == FSearch && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) {
            const int step = key->key() == Qt::Key_Down ? 1 : -1;
            int row = FEntries->currentRow();
            for (int next = row + step; next >= 0 && next < FEntries->count(); next += step) {
                if (FEntries->item(next)->data(kFormatRole).toInt() >= 0) {
                    row = next;
                    break;
                }
            }
            FEntries->setCurrentRow(row);
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (const QListWidgetItem* item = FEntries->currentItem())
                choose(item->data(kFormatRole).toInt());
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void TFormatChooser::fillEntries(const QString& text)
{
    FEntries->clear();
    const std::vector<int> matches = ChooserMatches(FFormats, text);
    const auto matching = [&](int index) { return std::find(matches.begin(), matches.end(), index) != matches.end(); };
    // The last choices, the newest first, while nothing is searched for.
    if (text.trimmed().isEmpty()) {
        bool header = false;
        for (const QString& key : LoadRecentFormats()) {
            const auto found = std::find_if(FFormats.begin(), FFormats.end(),
                                            [&](const TSheetFormat& f) { return FormatKey(f) == key; });
            if (found == FFormats.end())
                continue;
            if (!header)
                addHeader(*FEntries, MessageText(Msg::kChooserRecent));
            header = true;
            addFormat(*FEntries, itemText(found->Index), found->Index);
        }
    }
    bool sizesHeader = false;
    for (const TSheetFormat& f : FFormats) {
        if (f.Document && f.Origin == TFormatOrigin::Document)
            continue;
        if (!matching(f.Index))
            continue;
        if (!sizesHeader)
            addHeader(*FEntries, MessageText(Msg::kChooserSizes));
        sizesHeader = true;
        addFormat(*FEntries, itemText(f.Index), f.Index);
    }
    // The documents under their countries, in the order of the countries'
    // names in the interface's language.
    std::map<QString, std::vector<const TSheetFormat*>, bool (*)(const QString&, const QString&)> countries(
        [](const QString& a, const QString& b) { return QString::localeAwareCompare(a, b) < 0; });
    for (const TSheetFormat& f : FFormats)
        if (f.Origin == TFormatOrigin::Document && matching(f.Index))
            countries[CountryName(f.Document->Country)].push_back(&f);
    for (const auto& [country, formats] : countries) {
        addHeader(*FEntries, country);
        for (const TSheetFormat* f : formats)
            addFormat(*FEntries, DocumentItemText(*f, false), f->Index);
    }
    for (int row = 0; row < FEntries->count(); ++row) {
        if (FEntries->item(row)->data(kFormatRole).toInt() == currentIndex() || (row > 0 && !text.isEmpty()
            && FEntries->item(row)->data(kFormatRole).toInt() >= 0)) {
            FEntries->setCurrentRow(row);
            break;
        }
    }
}

void TFormatChooser::choose(int index)
{
    if (index < 0 || index >= static_cast<int>(FFormats.size()))
        return;
    // The last choices are a convenience: settings that cannot be written
    // leave them as they were.
    RememberRecentFormat(FormatKey(FFormats[static_cast<std::size_t>(index)]));
    hidePopup();
    setCurrentIndex(index);
    emit activated(index);
}
