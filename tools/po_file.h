#pragma once

#include "exception.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

/// Raised for PO input that cannot be read; the message names the file and
/// the line ("fr.po:12: end-of-line within string").
QRL_DECLARE_EXCEPTION(EPoSyntax, Exception);

/// One message of a PO file: what language files use of it. Plural forms and
/// obsolete (#~) messages are not used by language files.
struct TPoEntry {
    QStringList TranslatorComments;   ///< "# ..."
    bool Fuzzy = false;               ///< "#, fuzzy"
    QString Context;                  ///< msgctxt
    QString Id;                       ///< msgid
    QString Str;                      ///< msgstr
    int Line = 0;                     ///< line of the msgid, for messages

    /// A translation that takes effect: not empty and not marked fuzzy.
    bool Translated() const { return !Str.isEmpty() && !Fuzzy; }
};

/// A PO file in memory: the header entry's fields (in order) and the messages.
struct TPoFile {
    QStringList HeaderComments;
    QList<QPair<QString, QString>> Header;
    QList<TPoEntry> Entries;

    /// The first value of a header field; empty when absent.
    QString HeaderValue(const QString& name) const;
    /// Every value of a header field that may repeat, in order.
    QStringList HeaderValues(const QString& name) const;
};

/// Reads a PO file written in UTF-8 with GNU gettext's own reader
/// (libgettextpo). Raises EPoSyntax naming `fileName` and the line for the
/// first problem the reader reports (a string not closed, an unknown keyword
/// or escape, a msgstr missing, a message given twice, bytes that are not
/// UTF-8, ...), and for what language files cannot use: plural forms,
/// domains, another charset named in the header, a header field without a
/// name, NUL bytes. Obsolete messages are passed over; a byte order mark is
/// allowed.
TPoFile ParsePo(const QByteArray& bytes, const QString& fileName);

/// Writes a PO file in UTF-8: the header entry, then one block per message.
/// Strings with line breaks are written one line per break; no line is
/// wrapped (libgettextpo's writer wraps at 79 columns).
QByteArray WritePo(const TPoFile& po);
