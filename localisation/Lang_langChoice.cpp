#include "Lang_langChoice.h"

#include "lang_components.h"
#include "lang_properties.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

/// The list box of the chooser: a click is a mouse click on a row, or a
/// keyboard move to another row, as a list box reports its clicks.
class TLanguageListBox : public QListWidget {
public:
    TLanguageListBox(QWidget* parent, std::function<void()> onClick)
        : QListWidget(parent), FOnClick(std::move(onClick))
    {
        connect(this, &QAbstractItemView::clicked, this, [this] { FOnClick(); });
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const int before = currentRow();
        QListWidget::keyPressEvent(event);
        if (currentRow() != before)
            FOnClick();
    }

private:
    std::function<void()> FOnClick;
};

/// Rows of 32 pixels, painted by the chooser.
class TLanguageRowDelegate : public QStyledItemDelegate {
public:
    TLanguageRowDelegate(const TLanguageChoice* choice, QObject* parent) : QStyledItemDelegate(parent), FChoice(choice) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->setFont(option.font);
        FChoice->DrawRow(*painter, index.row(), option.rect,
                         option.palette.brush(selected ? QPalette::Highlight : QPalette::Base),
                         option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return {option.rect.width(), TLanguageChoice::kRowHeight};
    }

private:
    const TLanguageChoice* FChoice;
};

/// Restores the cursor on every way out of a switch.
struct TBusyCursor {
    TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

QColor frameColor()
{
    constexpr unsigned bgr = TLanguageChoice::kFrameColorBgr;
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

}  // namespace

TLanguageChoice::TLanguageChoice(QWidget* parent) : QFrame(parent)
{
    // Of the translatable properties the chooser publishes only ShowHint:
    // its parts follow the form's font and carry no texts of their own.
    static const bool registered = [] {
        TPublishedProperties properties;
        properties.ShowHint = {[](const QObject* o) { return ShowHint(o); },
                               [](QObject* o, const bool& v) { SetShowHint(o, v); }};
        RegisterPublishedProperties(staticMetaObject, properties);
        return true;
    }();
    Q_UNUSED(registered);

    setProperty(kNoComponentsProperty, true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
    resize(121, 100);

    FTitleLabel = new QLabel(this);
    FTitleLabel->setObjectName(QStringLiteral("TitleLabel"));
    FBevel = new QFrame(this);
    FBevel->setFrameStyle(QFrame::HLine | QFrame::Raised);
    FLanguageListBox = new TLanguageListBox(this, [this] { LanguageListBoxClick(); });
    FLanguageListBox->setObjectName(QStringLiteral("LanguageListBox"));
    FLanguageListBox->setFrameShape(QFrame::NoFrame);
    FLanguageListBox->setUniformItemSizes(true);
    FLanguageListBox->setItemDelegate(new TLanguageRowDelegate(this, FLanguageListBox));
    FLanguageListBox->setFocusPolicy(Qt::StrongFocus);
    layoutParts();
}

TLanguageChoice::~TLanguageChoice() = default;

void TLanguageChoice::layoutParts()
{
    const QRect area = contentsRect();
    FTitleLabel->setGeometry(area.left(), area.top(), area.width(), 16);
    FBevel->setGeometry(area.left(), area.top() + 20, area.width(), 2);
    FLanguageListBox->setGeometry(area.left(), area.top() + 22, area.width(), std::max(0, area.height() - 22));
}

void TLanguageChoice::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    layoutParts();
}

void TLanguageChoice::SetLanguageList(TLangList* value)
{
    FLanguageList = value;
    if (!value) {
        FLanguageListBox->clear();
        return;
    }
    value->BuildLanguageList();
    FLanguageListBox->clear();
    FLanguageListBox->addItems(value->Languages().ToStringList());
    FPreviousAfterSwitch = value->AfterLanguageSwitch;
    // The chooser may go before the list: the list then calls the handler
    // the chooser had replaced.
    value->AfterLanguageSwitch = [self = QPointer<TLanguageChoice>(this),
                                  previous = FPreviousAfterSwitch](QObject* sender) {
        if (self)
            self->LanguageSwitched(sender);
        else if (previous)
            previous(sender);
    };
}

void TLanguageChoice::LanguageSwitched(QObject* /*Sender*/)
{
    if (FLanguageList)
        FLanguageListBox->setCurrentRow(FLanguageList->LanguageIndex());
    if (FPreviousAfterSwitch)
        FPreviousAfterSwitch(this);
    FTitleLabel->setText(QStringLiteral("  ") + (FLanguageList ? FLanguageList->CurrentLanguageInfo() : QString()));
}

void TLanguageChoice::LanguageListBoxClick()
{
    if (!FLanguageList)
        return;
    {
        TBusyCursor busy;
        // Lets the busy cursor show before the forms are rewritten; the user's
        // own input waits until the switch is done.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        try {
            FLanguageList->SetLanguageIndex(FLanguageListBox->currentRow());
        } catch (const Exception& e) {
            // A file that cannot be applied: the forms keep their texts, the
            // list its choice, and the user learns why.
            FLanguageListBox->setCurrentRow(FLanguageList->LanguageIndex());
            if (ShowError)
                ShowError(window(), e.Message);
            else
                QMessageBox::critical(window(), QCoreApplication::applicationName(), e.Message);
        }
        if (FLanguageList)
            FTitleLabel->setText(FLanguageList->CurrentLanguageInfo());
    }
    if (OnClick)
        OnClick(this);
}

void TLanguageChoice::DrawRow(QPainter& canvas, int index, const QRect& r, const QBrush& brush,
                              const QColor& textColor) const
{
    if (!FLanguageList)
        return;
    // Row coordinates as the list box gives them: the bottom is exclusive.
    const int left = r.left();
    const int top = r.top();
    const int bottom = r.top() + r.height();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.fillRect(r, brush);

    QImage flag;
    FLanguageList->LoadFlagBitmap(static_cast<std::uint16_t>(FLanguageList->LanguageCode(index) & 0xFFFF), flag);
    const int w = flag.width();
    const int h = flag.height();
    const int y = (top + bottom - 28) / 2;
    // A one-pixel frame around the flag, W + 2 by H + 2 pixels: Qt strokes a
    // rectangle one pixel beyond its width and height.
    canvas.setPen(QPen(frameColor(), 0));
    canvas.setBrush(brush);
    canvas.drawRect(QRect(left + 3, y - 1, w + 1, h + 1));
    if (!flag.isNull())
        canvas.drawImage(QRect(left + 4, y, w, h), flag);

    const QListWidgetItem* item = FLanguageListBox->item(index);
    if (!item)
        return;
    const QFontMetrics metrics(canvas.font());
    const int textLeft = left + 2 + w + 10;
    const int textTop = (top + bottom - metrics.height()) / 2;
    canvas.setPen(textColor);
    canvas.drawText(QRect(textLeft, textTop, std::max(0, r.right() + 1 - textLeft), metrics.height()),
                    Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, item->text());
}
