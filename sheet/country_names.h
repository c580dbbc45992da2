#pragma once

#include "documents.h"

#include <QString>

#include <string_view>

/// The name of the country (or area: "EU") of an ISO 3166 code in the
/// interface's language, as the locale data of the system (ICU's, which Qt
/// itself is built on) writes it: "Kanada" for "CA" in German. The code
/// itself for a code that data has no name for.
QString CountryName(std::string_view Code);

/// A document as the windows and warnings name it: its country's name and its
/// own, "Canada, Passport" (Msg::kDocumentName).
QString DocumentName(const TDocument& Document);

/// Whether `Text` finds the document: a part of its country's name (in the
/// interface's language or in English), its country's code, its name or its
/// id, letter case and accents aside. An empty text finds every document.
bool DocumentMatches(const TDocument& Document, const QString& Text);

/// What is said where the document's office refuses a photo whose background
/// was changed (Msg::kEditsRefused with DocumentName).
QString EditsRefusedText(const TDocument& Document);

/// The DocumentName of the row Rule comes from; empty for a rule of no
/// office's.
QString DocumentNameOf(const THeadRule& Rule);
