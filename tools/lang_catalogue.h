#pragma once

#include "lang_file_contents.h"
#include "po_file.h"

#include <QString>
#include <QStringList>

#include <cstdint>

/// Language files as gettext catalogues. Every text of the original-language
/// file is one message whose context names the component and the item:
///   "MainDlg.print_btn|text"        caption or text
///   "MainDlg.print_btn|hint"        hint (ShowHint off)
///   "MainDlg.print_btn|shown-hint"  hint (ShowHint on)
///   "AboutDlg.TS_about|line 2"      line 2 (counted from 0) of a list
/// The language file's header is in the PO header, in fields of its own:
/// X-Quorlo-LangId (hexadecimal), X-Quorlo-Charset (Windows character-set
/// number), X-Quorlo-Language-Name and X-Quorlo-Country-Name (the chooser
/// line), X-Quorlo-Info (the line above the list), X-Quorlo-Flag (see
/// flag_art.h), X-Quorlo-Font, X-Quorlo-Min-Font-Size, X-Quorlo-Input-Method
/// and X-Quorlo-Line (one per header line).
namespace LangCatalogue {

/// The message contexts of one entry's items.
QString TextContext(const QString& path);
QString HintContext(const QString& path, bool shown);
QString LineContext(const QString& path, int line);

/// The template: one untranslated message per text of the original file,
/// and its font settings in the header.
TPoFile MakeTemplate(const TLangFileContents& original);

/// A revision-4 language file from a translation: translated messages carry
/// the translated bit, the others their original text without it. Raises
/// ELangTool (naming the file and line) for a header that lacks the LANGID,
/// a field that is no number, a flag it cannot draw, or a context it cannot
/// place.
TLangFileContents Build(const TPoFile& po, const QString& poName, std::uint32_t programVersion);

/// The catalogue of a language file. With the original-language file the
/// source texts are known; without it a translated text stands for its own
/// source and is marked fuzzy.
TPoFile Dump(const TLangFileContents& file, const TLangFileContents* original);

/// Every text of a file that the code page of its character set cannot
/// hold, one line each: "MainDlg.print_btn|text: "Drukuj 印刷" does not fit
/// code page 1250 (印刷)". Empty when all of them fit.
QStringList TextsOutsideCodePage(const TLangFileContents& file);

/// What a translation lacks against the original: "missing" lines for texts
/// it does not translate, "stale" lines for texts the original no longer has
/// or has changed. Empty when the translation is complete and current.
QStringList Check(const TLangFileContents& file, const TLangFileContents& original);

}  // namespace LangCatalogue
