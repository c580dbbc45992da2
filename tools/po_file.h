#pragma once

#include "Exception.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

/// Raised for PO input that cannot be read; the message names the file and
/// the line ("fr.po:12: string not closed").
QRL_DECLARE_EXCEPTION(EPoSyntax, Exception);

/// One message of a PO file. Plural forms and obsolete (#~) messages are not
/// used by language files.
struct TPoEntry {
    QStringList TranslatorComments;   ///< "# ..."
    QStringList ExtractedComments;    ///< "#. ..."
    QStringList References;           ///< "#: ..."
    QStringList Flags;                ///< "#, fuzzy, ..." split at commas
    QString Context;                  ///< msgctxt
    QString Id;                       ///< msgid
    QString Str;                      ///< msgstr
    int Line = 0;                     ///< line of the msgid, for messages

    bool Fuzzy() const { return Flags.contains(QStringLiteral("fuzzy")); }
    /// A translation that takes effect: not empty and not marked fuzzy.
    bool Translated() const { return !Str.isEmpty() && !Fuzzy(); }
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
    /// Replaces the first field of that name, or appends one.
    void SetHeaderValue(const QString& name, const QString& value);
};

/// Reads a PO file written in UTF-8. Anything it cannot read for certain (a
/// string not closed, an unknown keyword or escape, a msgstr without msgid,
/// a message given twice, bytes that are not UTF-8, another charset in the
/// header, plural forms) raises EPoSyntax naming `fileName` and the line.
TPoFile ParsePo(const QByteArray& bytes, const QString& fileName);

/// Writes a PO file in UTF-8: the header entry, then one block per message.
/// Strings with line breaks are written one line per break.
QByteArray WritePo(const TPoFile& po);
