#pragma once
// Numbers in text fields: plain locale digits without group separators.
#include <QLocale>
#include <QString>
#include <QVariant>
#include <optional>

class MHNumberFormatter {
public:
    explicit MHNumberFormatter(const QLocale& locale = QLocale());

    // Empty text for a null value or one that is not a finite number.
    QString stringForObjectValue(const QVariant& value) const;
    // Nothing when the text (surrounding blanks ignored) is not a finite
    // number, so that a typing error is refused instead of becoming a value.
    std::optional<double> objectValueForString(const QString& text) const;

private:
    QLocale m_underlyingFormatter;
};
