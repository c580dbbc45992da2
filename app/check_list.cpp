#include "check_list.h"

#include "verdict_icon.h"

#include <QListWidget>

void ShowMeasures(QListWidget& List, const TMeasures& Measures)
{
    List.clear();
    for (const TMeasure& m : Measures) {
        auto* item = new QListWidgetItem(VerdictIcon(m.Verdict), m.Text, &List);
        item->setToolTip(QStringLiteral("%1: %2 (%3)").arg(m.Id).arg(m.Value).arg(m.Limit));
    }
}
