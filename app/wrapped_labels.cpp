#include "wrapped_labels.h"

#include <QEvent>
#include <QLabel>
#include <QPointer>

#include <algorithm>

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

void FitWrappedLabel(QLabel& Label, int MinLines)
{
    const int lines = MinLines * Label.fontMetrics().lineSpacing();
    const int needed = Label.width() > 0 && !Label.text().isEmpty() ? Label.heightForWidth(Label.width()) : 0;
    Label.setMinimumHeight(std::max(lines, needed));
}

void KeepWrappedLabelsWhole(QWidget& Form)
{
    new TWrappedLabelKeeper(Form);
}
