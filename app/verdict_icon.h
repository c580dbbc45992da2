#pragma once

#include "measure.h"

#include <QIcon>

/// The mark of a check's verdict: a green tick, an amber exclamation mark, a
/// red cross, each on a disc, so that they differ in shape as well as colour.
QIcon VerdictIcon(TVerdict Verdict);
