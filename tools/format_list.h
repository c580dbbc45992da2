#pragma once

#include "sheet_options.h"

#include <QString>

/// --list-formats: the table of documents, one country after another, each
/// under its name and code: every document's id, printed size, head height
/// (and eye line) in its rule's unit with the crown where its office puts
/// it, the background colours it takes, and its online form's pixels and
/// file sizes. Of one country alone when `Country` (an ISO 3166 code, any
/// letter case) is given; raises ESheetUsage when no document has it.
QString FormatListText(const QString& Country = {});

/// What quorlo-sheet says when --background replaces the background of a
/// photo whose office refuses that (the format's or the online form's);
/// empty when there is nothing to say.
QString RefusedEditWarning(const TSheetOptions& Options);
