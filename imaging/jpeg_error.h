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
};

/// Readies Manager for a context and returns what the context's err takes.
/// Warnings (a truncated file among them) and trace messages are dropped:
/// they carry nothing the user can act on, and the library goes on with
/// the best it can.
jpeg_error_mgr* InitJPEGErrorManager(TJPEGErrorManager& Manager);

/// Raises EJPEG "Erreur JPEG #<Code>" for one of the library's message codes.
[[noreturn]] void ThrowJPEGError(int Code);
