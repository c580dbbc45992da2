#pragma once

#include "measure.h"

class QListWidget;

/// Fills List with the photo check, one line per measure: the mark of its
/// verdict before its sentence, the measure's row (what it measures, its
/// value, the limits and their source) in the line's tip. The
/// framing window and the photo check window show the check this way.
void ShowMeasures(QListWidget& List, const TMeasures& Measures);
