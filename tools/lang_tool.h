#pragma once

#include "exception.h"

#include <QByteArray>
#include <QStringList>

#include <cstdint>

/// Raised by the translator's tool for input it cannot use; the message says
/// which file, entry or field is at fault.
QRL_DECLARE_EXCEPTION(ELangTool, Exception);

/// quorlo-lang, the translator's tool, without its process: `arguments`
/// exclude the program name; what it prints goes to `out` and `err`; the
/// result is the exit status (0 done, 1 a check found gaps, 2 an error).
///   pot ORIGINAL.SPK [-o FILE]           the template of the program's texts
///   build XX.po -o QRL_XXXXXXXX.SPK      a language file from a translation
///   dump FILE.SPK [ORIGINAL.SPK] [-o F]  a language file (revision 0 to 4) as PO
///   check FILE.SPK [ORIGINAL.SPK]        what a language file lacks
///   --help, --version                    the usage; the version and licence
/// The original-language file defaults to QRL_ORIGINAL.SPK beside FILE.SPK.
/// `programVersion` (packed) is written into the files that build makes.
int RunLangTool(const QStringList& arguments, std::uint32_t programVersion, QByteArray& out, QByteArray& err);
