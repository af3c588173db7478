#pragma once
// The one codec between XML property lists and QVariant values:
//   dictionary <-> QVariantMap     array   <-> QVariantList (QStringList writes as one)
//   string     <-> QString         integer <-> qint64 (quint64 above the signed range)
//   real       <-> double          boolean <-> bool
//   date       <-> QDateTime (UTC, whole seconds: the XML form holds no fraction;
//                             years 1 to 9999)
//   data       <-> QByteArray
// Every file read is treated as hostile: anything that is not a well-formed
// XML property list of reasonable size and depth is refused with an Error.
// Writing a value the format cannot hold exactly is refused as well, so that a
// file never silently differs from what was asked for.
#include "foundation/Error.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <optional>

class PropertyList {
public:
    enum ErrorCode : qint64 {
        ReadFailed = 1,
        NotAPropertyList = 2,
        TooDeep = 3,
        WrongRootType = 4,
        UnrepresentableValue = 5,
        WriteFailed = 6,
    };
    static QString errorDomain();

    // XML 1.0 cannot carry most control characters, nor U+FFFE and U+FFFF;
    // text that comes in from outside is checked with this before it is kept.
    static bool canHoldString(const QString& text);

    // Containers nested deeper than this are refused when reading and writing.
    static constexpr int kMaximumDepth = 256;
    // Larger files are refused before they are parsed.
    static constexpr qint64 kMaximumFileSize = 64 * 1024 * 1024;

    static std::optional<QVariant> fromData(const QByteArray& data, Error* error = nullptr);
    static std::optional<QVariant> fromFile(const QString& path, Error* error = nullptr);
    // Reads a file whose root must be a dictionary.
    static std::optional<QVariantMap> dictionaryFromFile(const QString& path, Error* error = nullptr);

    static std::optional<QByteArray> toData(const QVariant& value, Error* error = nullptr);
    // Replaces the file atomically: readers see the old or the new file, never a part.
    static bool toFile(const QVariant& value, const QString& path, Error* error = nullptr);
};
