#pragma once

#include "measure.h"

#include "frame.h"
#include "head_measure.h"

#include <QByteArray>
#include <QString>

/// The check in one line, in the catalogue's language: "Photo check: all
/// passed.", or how many measures fail and how many are to be looked at;
/// for a photo without a face, that no face was found.
QString CheckSummary(const TMeasures& Measures);

/// The check as a table for a terminal: one line per measure with its
/// verdict ("ok", "look", "FAIL"), id, value ("—" where it cannot be
/// judged), limit and sentence.
QString CheckTable(const TMeasures& Measures);

/// The check as JSON: {"measures": [{"id", "value", "limit", "verdict",
/// "text", "source"}], "head": {"crown_y", "chin_y", "eye_y", "crown_source"}},
/// in photo pixels after the photo was turned upright; "crown_source" is
/// "seen", "given" or "estimated", the last with "crown_reason" ("cut_off",
/// "covered", "unclear"). "head" is null without a face, a "value" null
/// where the photo does not let it be judged, the "source" where the
/// measure's limits come from (an office's page where they are its
/// document's), in the catalogue's language like "text".
QByteArray CheckJson(const TMeasures& Measures, const THead* Head, TCrownSource Crown = TCrownSource::Seen);
