#pragma once
// Records on the bus: a record is a{sv}, a list of records aa{sv}. QtDBus
// hands nested containers over as QDBusArgument; these helpers turn them into
// plain QVariantMap/QVariantList trees and back, and reject anything else,
// since a payload from another process is untrusted.
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>
#include <optional>

namespace DBusRecords {

// Any value with every QDBusArgument and QDBusVariant inside replaced by plain values.
QVariant normalized(const QVariant& value);

// An a{sv} value; nothing when the value is not a map.
std::optional<QVariantMap> record(const QVariant& value);
// An aa{sv} value, as a list of QVariantMap; nothing when any element is not a map.
std::optional<QVariantList> records(const QVariant& value);

// The list of records marshalled as aa{sv} (QtDBus would send a QVariantList as av).
QVariant recordsArgument(const QVariantList& records);

// Marks a method as one-way in introspection data.
QString noReplyAnnotation();

} // namespace DBusRecords
