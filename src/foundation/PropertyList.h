#pragma once
// The one codec between XML property lists and QVariant values:
//   dictionary <-> QVariantMap     array   <-> QVariantList (QStringList writes as one)
//   string     <-> QString         integer <-> qint64 (quint64 above the signed range)
//   real       <-> double          boolean <-> bool
//   date       <-> QDateTime (UTC, whole seconds: the XML form holds no fraction;
//                             years 1 to 9999)
//   data       <-> QByteArray
// Every file read is treated as hostile: anything that is not a well-formed
// XML property list of reasonable size and depth is refused with an Error, and
// so is a value that cannot be read exactly (a malformed date, text that is not
// UTF-8), with its key path ("conditions[0].schedules[1].from"): it never loads
// as another value. Writing a value the format cannot hold exactly is refused
// as well, so that a file never silently differs from what was asked for.
// Reading and writing share one size limit, so whatever is written can be read.
#include "foundation/Error.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <functional>
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
        TooLarge = 7,
        MalformedValue = 8,
    };
    static QString errorDomain();

    // XML 1.0 cannot carry most control characters, nor U+FFFE and U+FFFF,
    // nor half of a surrogate pair; text that comes in from outside is checked
    // with this before it is kept. Judged by whole characters.
    static bool canHoldString(const QString& text);
    // The text with every character the format cannot hold shown as U+FFFD,
    // one for each whole character.
    static QString holdableString(const QString& text);

    // Containers nested deeper than this are refused when reading and writing.
    static constexpr int kMaximumDepth = 256;
    // Larger files are refused before they are parsed, and never written.
    static constexpr qint64 kMaximumFileSize = 64 * 1024 * 1024;

    static std::optional<QVariant> fromData(const QByteArray& data, Error* error = nullptr, qint64 maximumSize = kMaximumFileSize);
    static std::optional<QVariant> fromFile(const QString& path, Error* error = nullptr, qint64 maximumSize = kMaximumFileSize);
    // Reads a file whose root must be a dictionary.
    static std::optional<QVariantMap> dictionaryFromFile(const QString& path, Error* error = nullptr);

    static std::optional<QByteArray> toData(const QVariant& value, Error* error = nullptr, qint64 maximumSize = kMaximumFileSize);
    // Replaces the file atomically: readers see the old or the new file, never
    // a part. beforeReplacing runs once the whole new file is on disk, just
    // before it takes the old one's place; a write that fails earlier never
    // runs it.
    static bool toFile(const QVariant& value, const QString& path, Error* error = nullptr, qint64 maximumSize = kMaximumFileSize,
                       const std::function<void()>& beforeReplacing = {});
};
