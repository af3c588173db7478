#include "keelhouse/DBusRecords.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusVariant>

namespace DBusRecords {

namespace {

QVariant demarshalled(const QDBusArgument& argument)
{
    switch (argument.currentType()) {
    case QDBusArgument::MapType: {
        QVariantMap map;
        argument.beginMap();
        while (!argument.atEnd()) {
            argument.beginMapEntry();
            const QVariant key = normalized(argument.asVariant());
            const QVariant value = normalized(argument.asVariant());
            argument.endMapEntry();
            map.insert(key.toString(), value);
        }
        argument.endMap();
        return map;
    }
    case QDBusArgument::ArrayType: {
        QVariantList list;
        argument.beginArray();
        while (!argument.atEnd())
            list.append(normalized(argument.asVariant()));
        argument.endArray();
        return list;
    }
    case QDBusArgument::StructureType: {
        QVariantList fields;
        argument.beginStructure();
        while (!argument.atEnd())
            fields.append(normalized(argument.asVariant()));
        argument.endStructure();
        return fields;
    }
    default:
        return normalized(argument.asVariant());
    }
}

} // namespace

QVariant normalized(const QVariant& value)
{
    if (value.metaType() == QMetaType::fromType<QDBusVariant>())
        return normalized(value.value<QDBusVariant>().variant());
    if (value.metaType() == QMetaType::fromType<QDBusArgument>())
        return demarshalled(value.value<QDBusArgument>());
    if (value.metaType() == QMetaType::fromType<QVariantMap>()) {
        QVariantMap map = value.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            it.value() = normalized(it.value());
        return map;
    }
    if (value.metaType() == QMetaType::fromType<QVariantList>()) {
        QVariantList list = value.toList();
        for (QVariant& element : list)
            element = normalized(element);
        return list;
    }
    return value;
}

std::optional<QVariantMap> record(const QVariant& value)
{
    const QVariant plain = normalized(value);
    if (plain.metaType() != QMetaType::fromType<QVariantMap>())
        return std::nullopt;
    return plain.toMap();
}

std::optional<QVariantList> records(const QVariant& value)
{
    const QVariant plain = normalized(value);
    if (plain.metaType() != QMetaType::fromType<QVariantList>())
        return std::nullopt;
    QVariantList list = plain.toList();
    for (const QVariant& element : list) {
        if (element.metaType() != QMetaType::fromType<QVariantMap>())
            return std::nullopt;
    }
    return list;
}

QVariant recordsArgument(const QVariantList& records)
{
    QDBusArgument argument;
    argument.beginArray(QMetaType::fromType<QVariantMap>());
    for (const QVariant& element : records)
        argument << element.toMap();
    argument.endArray();
    return QVariant::fromValue(argument);
}

QString noReplyAnnotation()
{
    return QStringLiteral("<annotation name=\"org.freedesktop.DBus.Method.NoReply\" value=\"true\"/>");
}

} // namespace DBusRecords
