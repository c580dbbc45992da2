#include "interface_numbers.h"

#include <QRegularExpression>

namespace {

QLocale withoutGroups(QLocale locale)
{
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

}  // namespace

QString FormatNumber(double Value, int Decimals, const QLocale& Locale)
{
    const QLocale locale = withoutGroups(Locale);
    return Decimals < 0 ? locale.toString(Value, 'g', QLocale::FloatingPointShortest)
                        : locale.toString(Value, 'f', Decimals);
}

std::optional<double> ParseNumber(const QString& Text, const QLocale& Locale)
{
    // QLocale::toDouble alone would take group separators and exponents, and
    // so read "99,5" in English as 995: the shape is checked first.
    const QString point = QRegularExpression::escape(Locale.decimalPoint());
    const QString minus = QRegularExpression::escape(Locale.negativeSign());
    const QRegularExpression shape(QStringLiteral("^(?:-|%1)?(\\d+(?:%2\\d*)?|%2\\d+)$").arg(minus, point));
    const QRegularExpressionMatch match = shape.match(Text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    QString plain = Text.trimmed();
    plain.replace(Locale.decimalPoint(), QStringLiteral("."));
    plain.replace(Locale.negativeSign(), QStringLiteral("-"));
    bool ok = false;
    const double value = QLocale::c().toDouble(plain, &ok);
    if (!ok)
        return std::nullopt;
    return value;
}
