#pragma once

#include <QDoubleSpinBox>

#include <optional>

/// A number field of the interface language: it shows and reads numbers in
/// the locale the last language switch set (FollowInterfaceLanguage), and
/// keeps what the user typed until the owner reads it. A text that is no
/// number, or a number outside the arrows' range, is neither cut short nor
/// corrected when the field loses the focus or Return is pressed: Number()
/// says what it holds, and the owner refuses it with a message.
class TNumberBox : public QDoubleSpinBox {
    Q_OBJECT

public:
    using QDoubleSpinBox::QDoubleSpinBox;

    /// Takes the interface language's locale and shows the value in it.
    void FollowInterfaceLanguage();

    /// The number the text means, range aside; nullopt for a text that is
    /// not one (ParseNumber).
    std::optional<double> Number() const;
    /// The text as it stands.
    QString TypedText() const;

    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    double valueFromText(const QString& text) const override;
    QString textFromValue(double value) const override;

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    template <typename Work>
    void keepTypedText(Work&& work);
};
