#pragma once

#include <csetjmp>
#include <cstdio>   // jpeglib.h uses FILE without declaring it

#include <jpeglib.h>

/// The error manager of one libjpeg context, compressing or decompressing.
/// The library reports a fatal error by calling error_exit, which must not
/// return: it longjmps to `jump`, set by the caller just before it calls into
/// the library; that caller holds nothing with a destructor, returns false,
/// and its C++ caller raises. The library's own struct comes first so that
/// the library can use a pointer to this as a pointer to it.
struct TJPEGErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    /// The data ended (the library's JWRN_JPEG_EOF) and the decoder lacked
    /// bits of the image there (JWRN_HIT_MARKER after it): the rest of the
    /// image is decoded from nothing. A file that lacks only its end marker
    /// warns of its end, but has every bit.
    bool dataEnded;
    bool endedEarly;
};

/// Readies Manager for a context and returns what the context's err takes.
/// Warnings and trace messages print nothing and stop nothing: the library
/// goes on with the best it can. Only a premature end is noted
/// (endedEarly): the user must learn that part of the photo is missing.
jpeg_error_mgr* InitJPEGErrorManager(TJPEGErrorManager& Manager);

/// Raises EJPEG "Erreur JPEG #<Code>" for one of the library's message codes.
[[noreturn]] void ThrowJPEGError(int Code);
