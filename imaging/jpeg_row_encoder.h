#pragma once

#include "color32.h"
#include "jpeg_codec.h"

#include <QByteArray>

#include <memory>

/// Encodes an image that is handed over a band of 32-bit rows at a time,
/// so that no copy of the whole image is ever needed: the rows can come
/// straight from a page buffer, or be composed just before they are given.
/// The stream is the one EncodeJPEG makes of the same pixels with the same
/// settings (the alpha byte is skipped by the library), except that the JFIF
/// header states the resolution when one is given.
class TJPEGRowEncoder {
public:
    /// Starts a Width x Height image (both above 0; EJPEG for sides the library
    /// refuses). DpiX and DpiY, when both are above 0, go into the JFIF density
    /// as dots per inch; otherwise the header keeps the library's 1:1 aspect.
    TJPEGRowEncoder(int Width, int Height, const TJPEGSettings& Settings, int DpiX = 0, int DpiY = 0);
    ~TJPEGRowEncoder();
    TJPEGRowEncoder(const TJPEGRowEncoder&) = delete;
    TJPEGRowEncoder& operator=(const TJPEGRowEncoder&) = delete;

    /// The next Count rows from the top, Rows[i] holding Width pixels; the
    /// same pointer may stand for several identical rows. Raises EJPEG; rows
    /// beyond the image's height are refused.
    void WriteRows(const TColor32* const* Rows, int Count);
    int RowsWritten() const;

    /// Completes the stream once every row is written (EJPEG before that) and
    /// hands it over; the encoder is spent afterwards.
    QByteArray Finish();

private:
    struct TState;
    std::unique_ptr<TState> FState;
};
