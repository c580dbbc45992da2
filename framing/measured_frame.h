#pragma once

#include "face_detector.h"

#include <vector>

/// Automatic framing from heads measured on the photo (the face library's
/// MeasureFaces), most likely first: the first head in the middle of Rule,
/// as FrameForHead puts it. No head gives no frame and the no-face message;
/// several frame the first and say how many were found.
TAutoFrame AutoFrameForHeads(const std::vector<THead>& Heads, const THeadRule& Rule, const TWording& Wording = {});
