#include "number_box.h"

#include "interface_numbers.h"

#include <QKeyEvent>
#include <QLineEdit>

void TNumberBox::FollowInterfaceLanguage()
{
    setLocale(QLocale());
    lineEdit()->setText(textFromValue(value()));
}

std::optional<double> TNumberBox::Number() const
{
    return ParseNumber(lineEdit()->text(), locale());
}

QString TNumberBox::TypedText() const
{
    return lineEdit()->text();
}

QValidator::State TNumberBox::validate(QString& input, int&) const
{
    // Any text may be typed; only a number in range becomes the value.
    const std::optional<double> number = ParseNumber(input, locale());
    return number && *number >= minimum() && *number <= maximum() ? QValidator::Acceptable
                                                                   : QValidator::Intermediate;
}

void TNumberBox::fixup(QString&) const {}

double TNumberBox::valueFromText(const QString& text) const
{
    return ParseNumber(text, locale()).value_or(value());
}

QString TNumberBox::textFromValue(double value) const
{
    return FormatNumber(value, decimals(), locale());
}

// The spin box puts its last value back over a text it cannot take; the
// text stays, for the owner to refuse with a message.
template <typename Work>
void TNumberBox::keepTypedText(Work&& work)
{
    const QString typed = lineEdit()->text();
    int pos = 0;
    QString probe = typed;
    const bool taken = validate(probe, pos) == QValidator::Acceptable;
    work();
    if (!taken && lineEdit()->text() != typed)
        lineEdit()->setText(typed);
}

void TNumberBox::focusOutEvent(QFocusEvent* event)
{
    keepTypedText([&] { QDoubleSpinBox::focusOutEvent(event); });
}

void TNumberBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QDoubleSpinBox::keyPressEvent(event);
        return;
    }
    keepTypedText([&] { QDoubleSpinBox::keyPressEvent(event); });
}
