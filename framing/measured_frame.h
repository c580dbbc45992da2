#pragma once

#include "frame.h"

#include <QString>

#include <optional>
#include <vector>

/// The outcome of automatic framing: a frame when a face was found, and a
/// message for the user when there is something to say (no face, several faces).
struct TAutoFrame {
    std::optional<TFrame> Frame;
    std::optional<THead> Head;
    int FacesFound = 0;
    QString Message;
};

/// Automatic framing from heads measured on the photo (the face library's
/// MeasureFaces), most likely first: the first head in the middle of Rule,
/// as FrameForHead puts it. No head gives no frame and the no-face message;
/// several frame the first and say how many were found.
TAutoFrame AutoFrameForHeads(const std::vector<THead>& Heads, const THeadRule& Rule, const TWording& Wording = {});
