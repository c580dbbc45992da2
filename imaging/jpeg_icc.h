#pragma once

#include <QByteArray>

/// The ICC profile a JPEG stream carries in its APP2 markers, joined in
/// their order; empty when it has none or its markers are incomplete. Never
/// raises: a stream the decoder cannot read fails there with its own error.
QByteArray ReadJPEGColourProfile(const QByteArray& Data);
