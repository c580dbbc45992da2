#include "wrapped_labels.h"

#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace {

// Watches the labels (a new width) and the widgets that hold them (a new
// text asks its holder for a new layout).
class TWrappedLabelKeeper : public QObject {
public:
    TWrappedLabelKeeper(QWidget& form) : QObject(&form)
    {
        for (QLabel* label : form.findChildren<QLabel*>()) {
            if (!label->wordWrap())
                continue;
            FLabels.append(label);
            label->installEventFilter(this);
            if (label->parentWidget())
                label->parentWidget()->installEventFilter(this);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest) {
            for (QLabel* label : FLabels)
                if (label && (label == watched || label->parentWidget() == watched))
                    FitWrappedLabel(*label);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QList<QPointer<QLabel>> FLabels;
};

}  // namespace

int WrappedTextHeight(const QLabel& Label, int Width)
{
    if (Label.text().isEmpty() || Width <= 0)
        return 0;
    // Measured on a document of its own: the label's own height for a width
    // never goes below its minimum height, which this sets.
    const int sides = Label.width() - Label.contentsRect().width();
    const int ends = Label.height() - Label.contentsRect().height();
    QTextDocument text;
    text.setDefaultFont(Label.font());
    text.setDocumentMargin(0);
    if (Qt::mightBeRichText(Label.text()) && Label.textFormat() != Qt::PlainText)
        text.setHtml(Label.text());
    else
        text.setPlainText(Label.text());
    text.setTextWidth(std::max(1, Width - sides - 2 * std::max(0, Label.margin())));
    return static_cast<int>(std::ceil(text.size().height())) + ends + 2 * std::max(0, Label.margin());
}

void FitWrappedLabel(QLabel& Label, int MinLines)
{
    const int lines = MinLines * Label.fontMetrics().lineSpacing();
    Label.setMinimumHeight(std::max(lines, WrappedTextHeight(Label, Label.width())));
}

void KeepWrappedLabelsWhole(QWidget& Form)
{
    new TWrappedLabelKeeper(Form);
}
