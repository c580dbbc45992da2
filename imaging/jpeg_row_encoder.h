#pragma once

#include "color32.h"
#include "jpeg_codec.h"

#include <QByteArray>

#include <cstddef>
#include <functional>
#include <memory>

/// Takes the encoded stream piece by piece, in order. It may raise; the
/// encoder then stops and passes that error on unchanged.
using TJPEGSink = std::function<void(const char* Data, std::size_t Size)>;

/// Encodes an image that is handed over a band of 32-bit rows at a time,
/// so that no copy of the whole image is ever needed: the rows can come
/// straight from a page buffer, or be composed just before they are given.
/// The alpha byte is skipped by the library. The stream either collects in
/// memory or goes to a sink in pieces of at most 64 KiB as it is made, so
/// that a page can be written to its file without ever being held whole.
class TJPEGRowEncoder {
public:
    /// Starts a Width x Height image (both above 0; EJPEG for sides the library
    /// refuses). DpiX and DpiY, when both are above 0, go into the JFIF density
    /// as dots per inch; otherwise the header keeps the library's 1:1 aspect.
    /// Without a sink the stream collects in memory for Finish to return.
    TJPEGRowEncoder(int Width, int Height, const TJPEGSettings& Settings, int DpiX = 0, int DpiY = 0,
                    TJPEGSink Sink = {});
    ~TJPEGRowEncoder();
    TJPEGRowEncoder(const TJPEGRowEncoder&) = delete;
    TJPEGRowEncoder& operator=(const TJPEGRowEncoder&) = delete;

    /// The next Count rows from the top, Rows[i] holding Width pixels; the
    /// same pointer may stand for several identical rows. Raises EJPEG, or
    /// what the sink raised; rows beyond the image's height are refused.
    void WriteRows(const TColor32* const* Rows, int Count);
    int RowsWritten() const;

    /// Completes the stream once every row is written (EJPEG before that):
    /// the last piece goes to the sink, or the whole stream is returned when
    /// there is none (an empty array otherwise). The encoder is spent afterwards.
    QByteArray Finish();

private:
    struct TState;
    std::unique_ptr<TState> FState;
};
