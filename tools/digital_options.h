#pragma once

#include "sheet_options.h"
#include "sheet_tool.h"

#include "photo_check.h"

#include <QString>

#include <functional>
#include <optional>

/// Reads --digital SIZE, --packed and --gap MM into `options`; false for
/// any other option. `value` takes the option's value; `inlineValue` says
/// whether one was given after "=". Raises ESheetUsage.
bool ReadDigitalOrLayoutOption(const QString& name, const std::function<QString()>& value, bool inlineValue,
                               TSheetOptions& options);

/// The checks of a whole command line with --digital or --gap, once every
/// option is read: --digital takes one photo, an --output ending in .jpg or
/// .jpeg, and nothing of a sheet or a printer; --gap needs --packed. Raises
/// ESheetUsage. `paperGiven`: --paper was given.
void CheckDigitalOrLayoutOptions(const TSheetOptions& options, bool paperGiven);

/// The plain background --background asks for, with the person mask of
/// Analysis (asked for only then); none without the option. Raises
/// Exception naming PhotoName when no person is found to put it behind.
std::optional<TPlainBackground> PlainBackgroundFor(const TSheetOptions& options, const TBitmap32& Photo,
                                                   const QString& PhotoName, TFaceModels& Models,
                                                   const std::function<const TPhotoAnalysis&()>& Analysis);

/// Makes the digital photo --digital asks for and returns the line that
/// describes it, e.g. "us-visa: 600 x 600 px, 231.4 KB at quality 87 ->
/// photo.jpg". Raises Exception with one line when the photo cannot be
/// loaded, no face is found for --frame auto, the file sizes cannot be met
/// or the file cannot be written. With `check`, the photo check of the
/// written photo (as the office receives it) goes there.
QString RunDigitalPhoto(const TSheetOptions& options, TFaceModels& Models, TSheetCheck* check = nullptr);
