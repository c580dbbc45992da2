#pragma once

#include "string_list.h"
#include "flag_bitmap.h"
#include "lang_file_contents.h"

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

/// Shows one problem met while the original-language file is written (the
/// program shows a message; the default writes a line to stderr).
using TReportHook = std::function<void(const QString& message)>;
void ReportToStderr(const QString& message);

/// The header of one language file in memory, and the object through which a
/// language file is applied to the running program (ApplyFile) and the
/// program's own texts are written as a language file (WriteOriginal).
///
/// Texts are Unicode here; in a file they are bytes in the code page of the
/// file's character set (the default character set meaning the ANSI code page
/// of its LANGID), decoded when read and encoded when written.
class TLanguageRecord : public TLangFileHeader {
public:
    /// `root`: the component whose owned components are translated (the
    /// application's TApplicationForms, or a form); `excluded`: names and
    /// paths never translated (may be nullptr; not owned).
    TLanguageRecord(std::uint16_t revisionToWrite, QObject* root, const TStringList* excluded);

    QObject* Root;
    std::uint16_t RevisionToWrite;
    std::uint16_t Revision = 0;
    TStringList HeaderLines;
    std::uint8_t CharSet = 0;
    QImage FlagBitmap;
    const TStringList* ExcludedComps;

    /// Receives "Exception %s - component No %d" for a component whose texts
    /// could not be written; ReportToStderr unless replaced.
    TReportHook OnReport = ReportToStderr;

    /// Why the last WriteOriginal failed ("Permission denied", ...); empty
    /// after one that succeeded.
    QString WriteError;

    /// Reads a whole language file (ReadLanguageFile) and only then takes it
    /// into the record and applies it to the components under Root. False,
    /// with the record and the interface unchanged, when the file is missing,
    /// does not open with the signature, holds fewer than six items, is
    /// damaged (a record's lengths do not add up to the file) or lacks its
    /// revision's settings items. Raises ELanguageFormat("Format not
    /// supported in this revision") for a revision above 4 (items 0 to 5 are
    /// then in the record, no component changed) and EInvalidGraphic for a
    /// flag item that is not a BMP. An exception from a property setter ends
    /// the apply there. The file is closed on every way out.
    bool ApplyFile(const QString& fileName);

    /// Writes the record's header and one entry per component under Root that
    /// carries text, as a revision-4 layout with RevisionToWrite in the header
    /// (WriteLanguageFile: a temporary name beside the file, which replaces
    /// the old one only when complete). True when the new file is in place;
    /// false when it could not be created or written completely (WriteError
    /// then says why, in the system's words), the old file left as it was.
    bool WriteOriginal(const QString& fileName);

private:
    void takeHeader(const TLangFileContents& file);
    void takeSettings(const TLangFileContents& file);
    void applyRevision0(const QList<TLangEntry>& entries);
    void applyEntries(const QList<TLangEntry>& entries, const TStringList& components);
    void applyFonts(const TStringList& components);
    TLangFileContents writtenContents() const;
    QList<TLangEntry> writtenEntries() const;
};
