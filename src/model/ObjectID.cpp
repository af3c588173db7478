#include "model/ObjectID.h"

#include <QHashFunctions>
#include <QRegularExpression>
#include <utility>

ObjectID::ObjectID(const QUuid& contextID, QString entityName, quint64 number)
    : m_contextID(contextID)
    , m_entityName(std::move(entityName))
    , m_number(number)
{
}

QString ObjectID::uriRepresentation() const
{
    return QStringLiteral("x-lanternwick://%1/%2/p%3")
        .arg(m_contextID.toString(QUuid::WithoutBraces), m_entityName, QString::number(m_number));
}

std::optional<ObjectID> ObjectID::fromUriRepresentation(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral(
        "\\Ax-lanternwick://([0-9a-fA-F-]{36})/([A-Za-z]+)/p([1-9][0-9]{0,18})\\z"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QUuid context = QUuid::fromString(match.captured(1));
    bool ok = false;
    const quint64 number = match.captured(3).toULongLong(&ok);
    if (context.isNull() || !ok)
        return std::nullopt;
    return ObjectID(context, match.captured(2), number);
}

size_t qHash(const ObjectID& id, size_t seed)
{
    return qHashMulti(seed, id.contextID(), id.entityName(), id.number());
}
