#pragma once

#include "exception.h"

/// A picture that cannot be read: a photo file of an unknown extension
/// ("Extension de fichier image inconnue (.%s)") or that no decoder can read,
/// and a language file's flag that holds no valid BMP. One class for both, so
/// that a handler of either catches it.
QRL_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
