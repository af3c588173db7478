#pragma once
// Helpers for the records built as QVariantMap.
#include <QString>
#include <QVariant>
#include <QVariantMap>

// Stores value under key only when it holds something; answers whether it
// stored. Records sent elsewhere then never carry null entries.
bool setValidObject(QVariantMap& map, const QString& key, const QVariant& value);
