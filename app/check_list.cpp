#include "check_list.h"

#include "verdict_icon.h"

#include <QListWidget>

void ShowMeasures(QListWidget& List, const TMeasures& Measures)
{
    List.clear();
    for (const TMeasure& m : Measures) {
        auto* item = new QListWidgetItem(VerdictIcon(m.Verdict), m.Text, &List);
        // The measure's row; as rich text, so that the tip wraps instead of
        // running off the screen.
        item->setToolTip(QStringLiteral("<table width=\"400\"><tr><td>%1</td></tr></table>")
                             .arg(MeasureDescription(m).toHtmlEscaped()));
    }
}
