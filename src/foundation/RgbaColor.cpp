#include "foundation/RgbaColor.h"

#include <QRegularExpression>

std::optional<RgbaColor> RgbaColor::fromString(const QString& text, const QString& key, QString* problem)
{
    struct Component {
        QChar prefix;
        const char* name;
        double RgbaColor::*field;
    };
    static const Component components[] = {
        { u'r', "Red", &RgbaColor::red },
        { u'g', "Green", &RgbaColor::green },
        { u'b', "Blue", &RgbaColor::blue },
        { u'a', "Alpha", &RgbaColor::alpha },
    };
    static const QRegularExpression number(QStringLiteral("\\G\\s*([+-]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][+-]?\\d+)?)"));

    RgbaColor color;
    qsizetype position = 0;
    const auto report = [&](const QString& what) {
        if (problem)
            *problem = QStringLiteral("%1 in %2 for key %3!").arg(what, text, key);
        return std::nullopt;
    };
    for (const Component& component : components) {
        while (position < text.size() && text.at(position).isSpace())
            ++position;
        if (position >= text.size() || text.at(position).toLower() != component.prefix)
            return report(QStringLiteral("Prefix '%1' missing").arg(component.prefix));
        ++position;
        const auto match = number.match(text, position);
        if (!match.hasMatch())
            return report(QStringLiteral("%1 value missing").arg(QLatin1String(component.name)));
        const double value = match.captured(1).toDouble();
        if (!(value >= 0 && value <= 1))
            return report(QStringLiteral("%1 value out of range").arg(QLatin1String(component.name)));
        color.*component.field = value;
        position = match.capturedEnd();
    }
    return color;
}

QString RgbaColor::logDescription() const
{
    return QStringLiteral("r%1 g%2 b%3 a%4").arg(red).arg(green).arg(blue).arg(alpha);
}
