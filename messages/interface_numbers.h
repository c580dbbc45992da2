#pragma once

#include <QLocale>
#include <QString>

#include <optional>

/// Numbers as the interface shows them and reads them back: in the locale
/// of the interface language (QLocale(), which a language switch sets), with
/// its decimal separator and without group separators.

/// Value with Decimals decimals ("100,0" in German with 1); with Decimals
/// below 0 the shortest text that gives the value back ("34,5", "30").
QString FormatNumber(double Value, int Decimals, const QLocale& Locale = QLocale());

/// The number Text means in Locale: digits, at most one decimal separator
/// of the locale and digits after it, a minus sign in front; blanks around
/// are ignored. Anything else refuses the whole text (nullopt): another
/// separator ("99,5" in English), a group separator, letters ("12abc"), an
/// exponent, nothing at all. A typed number is never cut short or read as
/// another.
std::optional<double> ParseNumber(const QString& Text, const QLocale& Locale = QLocale());
