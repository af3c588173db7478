#include "foundation/PropertyList.h"

#include "foundation/AtomicFile.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <plist/plist.h>
#include <sys/stat.h>

namespace {

struct NodeDeleter {
    void operator()(void* node) const { plist_free(node); }
};
using Node = std::unique_ptr<void, NodeDeleter>;

struct CStringDeleter {
    void operator()(char* text) const { std::free(text); }
};
using CString = std::unique_ptr<char, CStringDeleter>;

void fail(Error* error, PropertyList::ErrorCode code, const QString& description)
{
    if (error)
        *error = Error(PropertyList::errorDomain(), code, description);
}

bool isStorableDate(const QDateTime& date)
{
    const int year = date.toUTC().date().year();
    return year >= 1 && year <= 9999;
}

// libplist reads a malformed date as another one ("2006-13-45" as a day of
// 2005), drops an offset, and hands any date out only as 32-bit seconds around
// its 2001 epoch. So before parsing, every date element is replaced by one
// whose seconds number its original text, and those texts are read here,
// strictly. Comments and CDATA sections are left alone: a date there is none.
const QDateTime kDateNumberEpoch(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);

bool isBlank(QByteArrayView text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
}

// Nothing for a date element that is not closed or carries attributes.
std::optional<QByteArray> withNumberedDates(const QByteArray& xml, QList<QByteArray>* texts)
{
    const QByteArrayView all(xml);
    QByteArray numbered;
    numbered.reserve(xml.size());
    qsizetype copied = 0;
    qsizetype at = 0;
    const auto skipPast = [&](qsizetype from, QByteArrayView end) {
        const qsizetype found = all.indexOf(end, from);
        return found < 0 ? all.size() : found + end.size();
    };
    while ((at = all.indexOf('<', at)) >= 0) {
        const QByteArrayView rest = all.sliced(at);
        if (rest.startsWith("<!--")) {
            at = skipPast(at, "-->");
            continue;
        }
        if (rest.startsWith("<![CDATA[")) {
            at = skipPast(at, "]]>");
            continue;
        }
        if (!rest.startsWith("<date") || rest.size() < 6 || !(rest[5] == '>' || rest[5] == '/' || isBlank(rest.sliced(5, 1)))) {
            ++at;
            continue;
        }
        const qsizetype tagEnd = all.indexOf('>', at);
        if (tagEnd < 0)
            return std::nullopt;
        QByteArray text;
        qsizetype end = tagEnd + 1;
        if (all[tagEnd - 1] == '/') {
            if (!isBlank(all.sliced(at + 5, tagEnd - 1 - at - 5)))
                return std::nullopt;
        } else {
            const qsizetype close = all.indexOf("</date", tagEnd);
            const qsizetype closeEnd = close < 0 ? -1 : all.indexOf('>', close);
            if (closeEnd < 0 || !isBlank(all.sliced(at + 5, tagEnd - at - 5)) || !isBlank(all.sliced(close + 6, closeEnd - close - 6)))
                return std::nullopt;
            text = xml.sliced(tagEnd + 1, close - tagEnd - 1);
            end = closeEnd + 1;
        }
        numbered.append(all.sliced(copied, at - copied));
        numbered.append("<date>");
        numbered.append(kDateNumberEpoch.addSecs(texts->size()).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")).toLatin1());
        numbered.append("</date>");
        texts->append(text);
        copied = at = end;
    }
    numbered.append(all.sliced(copied));
    return numbered;
}

// The form this program and the original write; years below 1000 may come
// without leading zeros.
std::optional<QDateTime> dateOfText(const QByteArray& text)
{
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,4})-([0-9]{2})-([0-9]{2})T([0-9]{2}):([0-9]{2}):([0-9]{2})Z$"));
    const QRegularExpressionMatch match = form.match(QString::fromLatin1(text.trimmed()));
    if (!match.hasMatch())
        return std::nullopt;
    const auto part = [&](int index) { return match.capturedView(index).toInt(); };
    const QDate day(part(1), part(2), part(3));
    const QTime time(part(4), part(5), part(6));
    if (!day.isValid() || !time.isValid() || part(1) < 1)
        return std::nullopt;
    return QDateTime(day, time, Qt::UTC);
}

Node dateNode(const QDateTime& date)
{
    const QDateTime utc = date.toUTC();
    if (!isStorableDate(utc))
        return Node();
    const QByteArray xml = QByteArrayLiteral("<plist version=\"1.0\"><date>")
        + utc.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")).toLatin1() + QByteArrayLiteral("</date></plist>");
    plist_t node = nullptr;
    plist_from_xml(xml.constData(), uint32_t(xml.size()), &node);
    return Node(node);
}

// libplist writes the year of a date as a plain number ("1-01-01T00:00:00Z"),
// which other readers refuse. Text in strings has its '<' escaped, so every
// "<date>" in the writer's output opens a date.
QByteArray withFourDigitYears(QByteArray xml)
{
    static constexpr QByteArrayView open("<date>");
    for (qsizetype at = xml.indexOf(open); at >= 0; at = xml.indexOf(open, at + 1)) {
        const qsizetype yearStart = at + open.size();
        const qsizetype yearEnd = xml.indexOf('-', yearStart);
        if (yearEnd > yearStart && yearEnd - yearStart < 4)
            xml.insert(yearStart, QByteArray(4 - (yearEnd - yearStart), '0'));
    }
    return xml;
}

// libplist parses XML without recursion but frees, copies and writes trees
// recursively, so an absurdly deep file must be refused before it is parsed.
// Tags inside comments or strings count too; that only makes the check stricter.
bool nestingWithinLimit(const QByteArray& xml)
{
    int depth = 0;
    const char* p = xml.constData();
    const char* end = p + xml.size();
    for (; p < end; ++p) {
        if (*p != '<')
            continue;
        const QByteArrayView rest(p + 1, end - p - 1);
        const bool closing = rest.startsWith('/');
        const QByteArrayView name = closing ? rest.sliced(1) : rest;
        qsizetype length = 0;
        if (name.startsWith("array"))
            length = 5;
        else if (name.startsWith("dict"))
            length = 4;
        else
            continue;
        if (name.size() > length && (name[length] == '>' || name[length] == ' ' || name[length] == '\t' || name[length] == '\n' || name[length] == '\r')) {
            const qsizetype close = name.indexOf('>');
            const bool empty = close > 0 && name[close - 1] == '/';
            if (closing)
                --depth;
            else if (!empty && ++depth > PropertyList::kMaximumDepth)
                return false;
        }
    }
    return true;
}

QString placeName(const QString& where)
{
    return where.isEmpty() ? QStringLiteral("the root") : where;
}

// Text exactly as its bytes say; nothing for bytes that are no UTF-8.
std::optional<QString> exactUtf8(const char* bytes, qsizetype length)
{
    // An initial byte-order mark is part of the text, not a mark.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(QByteArrayView(bytes, length));
    return decoder.hasError() ? std::nullopt : std::optional<QString>(std::move(text));
}

// The tree of one document, with the original texts of its numbered dates.
class Reader {
public:
    Reader(const QList<QByteArray>& dateTexts, Error* error)
        : m_dateTexts(dateTexts)
        , m_error(error)
    {
    }

    std::optional<QVariant> toVariant(plist_t node, const QString& where, int depth)
    {
        if (depth > PropertyList::kMaximumDepth)
            return refuse(PropertyList::TooDeep, QStringLiteral("The property list is nested too deeply."));
        switch (plist_get_node_type(node)) {
        case PLIST_BOOLEAN: {
            uint8_t value = 0;
            plist_get_bool_val(node, &value);
            return QVariant(value != 0);
        }
        case PLIST_UINT: {
            uint64_t value = 0;
            plist_get_uint_val(node, &value);
            if (value <= uint64_t(std::numeric_limits<qint64>::max()))
                return QVariant(qint64(value));
            // libplist keeps one 64-bit field for both; a fresh node holds the
            // negative reading, so a node that differs from it was written unsigned.
            const Node signedNode(plist_new_uint(value));
            if (!plist_compare_node_value(node, signedNode.get()))
                return QVariant(quint64(value));
            return QVariant(qint64(value));
        }
        case PLIST_REAL: {
            double value = 0;
            plist_get_real_val(node, &value);
            return QVariant(value);
        }
        case PLIST_STRING: {
            uint64_t length = 0;
            const char* text = plist_get_string_ptr(node, &length);
            const std::optional<QString> string = exactUtf8(text, qsizetype(text ? length : 0));
            if (!string)
                return refuse(PropertyList::MalformedValue, QStringLiteral("The property list holds text that is not UTF-8 at %1.").arg(placeName(where)));
            return QVariant(*string);
        }
        case PLIST_DATA: {
            uint64_t length = 0;
            const char* bytes = plist_get_data_ptr(node, &length);
            return QVariant(bytes ? QByteArray(bytes, qsizetype(length)) : QByteArray());
        }
        case PLIST_DATE: {
            int32_t number = -1;
            int32_t fraction = 0;
            plist_get_date_val(node, &number, &fraction);
            const std::optional<QDateTime> date =
                number >= 0 && number < m_dateTexts.size() && fraction == 0 ? dateOfText(m_dateTexts.at(number)) : std::nullopt;
            if (!date)
                return refuse(PropertyList::MalformedValue, QStringLiteral("The property list holds a malformed date at %1.").arg(placeName(where)));
            return QVariant(*date);
        }
        case PLIST_ARRAY: {
            QVariantList list;
            const uint32_t size = plist_array_get_size(node);
            for (uint32_t i = 0; i < size; ++i) {
                plist_t item = plist_array_get_item(node, i);
                if (!item)
                    return refuse(PropertyList::NotAPropertyList, QStringLiteral("The property list has a broken array."));
                auto value = toVariant(item, QStringLiteral("%1[%2]").arg(where).arg(i), depth + 1);
                if (!value)
                    return std::nullopt;
                list.append(*value);
            }
            return QVariant(list);
        }
        case PLIST_DICT:
            return dictionary(node, where, depth);
        default:
            return refuse(PropertyList::NotAPropertyList, QStringLiteral("The property list holds a value of an unsupported kind."));
        }
    }

private:
    std::optional<QVariant> dictionary(plist_t node, const QString& where, int depth)
    {
        QVariantMap map;
        plist_dict_iter iterator = nullptr;
        plist_dict_new_iter(node, &iterator);
        if (!iterator)
            return refuse(PropertyList::NotAPropertyList, QStringLiteral("The property list has a broken dictionary."));
        const std::unique_ptr<void, decltype(&std::free)> iteratorGuard(iterator, &std::free);
        for (;;) {
            char* rawKey = nullptr;
            plist_t item = nullptr;
            plist_dict_next_item(node, iterator, &rawKey, &item);
            const CString key(rawKey);
            if (!item)
                break;
            if (!key)
                return refuse(PropertyList::NotAPropertyList, QStringLiteral("The property list has a dictionary entry without a key."));
            const std::optional<QString> name = exactUtf8(key.get(), qsizetype(std::strlen(key.get())));
            if (!name)
                return refuse(PropertyList::MalformedValue, QStringLiteral("The property list holds a key that is not UTF-8 in %1.").arg(placeName(where)));
            auto value = toVariant(item, where.isEmpty() ? *name : where + QLatin1Char('.') + *name, depth + 1);
            if (!value)
                return std::nullopt;
            map.insert(*name, *value);
        }
        return QVariant(map);
    }

    std::nullopt_t refuse(PropertyList::ErrorCode code, const QString& description)
    {
        fail(m_error, code, description);
        return std::nullopt;
    }

    const QList<QByteArray>& m_dateTexts;
    Error* m_error;
};

Node unsignedNode(quint64 value)
{
    // plist_new_uint writes every value above the signed range as negative;
    // only the parser makes the unsigned kind, so let it make this one.
    const QByteArray xml = QByteArrayLiteral("<plist version=\"1.0\"><integer>") + QByteArray::number(value) + QByteArrayLiteral("</integer></plist>");
    plist_t node = nullptr;
    plist_from_xml(xml.constData(), uint32_t(xml.size()), &node);
    return Node(node);
}

Node toNode(const QVariant& value, const QString& where, int depth, Error* error)
{
    const auto refuse = [&](const QString& why) {
        fail(error, PropertyList::UnrepresentableValue, QStringLiteral("Cannot write %1 at %2 to a property list.").arg(why, where.isEmpty() ? QStringLiteral("the root") : where));
        return Node();
    };
    if (depth > PropertyList::kMaximumDepth)
        return refuse(QStringLiteral("a value nested this deeply"));

    switch (value.typeId()) {
    case QMetaType::Bool:
        return Node(plist_new_bool(value.toBool() ? 1 : 0));
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::SChar:
        return Node(plist_new_uint(uint64_t(value.toLongLong())));
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar: {
        const quint64 number = value.toULongLong();
        return number <= quint64(std::numeric_limits<qint64>::max()) ? Node(plist_new_uint(number)) : unsignedNode(number);
    }
    case QMetaType::Double:
    case QMetaType::Float:
        return Node(plist_new_real(value.toDouble()));
    case QMetaType::QString: {
        const QString text = value.toString();
        if (!PropertyList::canHoldString(text))
            return refuse(QStringLiteral("a string with control characters"));
        return Node(plist_new_string(text.toUtf8().constData()));
    }
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return Node(plist_new_data(bytes.constData(), uint64_t(bytes.size())));
    }
    case QMetaType::QDateTime: {
        const QDateTime date = value.toDateTime();
        if (!date.isValid())
            return refuse(QStringLiteral("an invalid date"));
        Node node = dateNode(date);
        if (!node)
            return refuse(QStringLiteral("a date out of range"));
        return node;
    }
    case QMetaType::QStringList:
    case QMetaType::QVariantList: {
        Node array(plist_new_array());
        const QVariantList list = value.toList();
        for (qsizetype i = 0; i < list.size(); ++i) {
            Node item = toNode(list.at(i), QStringLiteral("%1[%2]").arg(where).arg(i), depth + 1, error);
            if (!item)
                return Node();
            plist_array_append_item(array.get(), item.release());
        }
        return array;
    }
    case QMetaType::QVariantMap: {
        Node dict(plist_new_dict());
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            const QString path = where.isEmpty() ? it.key() : where + QLatin1Char('.') + it.key();
            if (!PropertyList::canHoldString(it.key()))
                return refuse(QStringLiteral("a key with control characters"));
            Node item = toNode(it.value(), path, depth + 1, error);
            if (!item)
                return Node();
            plist_dict_set_item(dict.get(), it.key().toUtf8().constData(), item.release());
        }
        return dict;
    }
    default:
        return refuse(value.isValid() ? QStringLiteral("a value of type %1").arg(QString::fromUtf8(value.typeName())) : QStringLiteral("an empty value"));
    }
}

} // namespace

QString PropertyList::errorDomain()
{
    return QStringLiteral("PropertyList");
}

bool PropertyList::canHoldString(const QString& text)
{
    return holdableString(text) == text;
}

QString PropertyList::holdableString(const QString& text)
{
    QString holdable;
    holdable.reserve(text.size());
    // Whole characters: half a surrogate pair comes out as U+FFFD.
    for (const char32_t c : text.toUcs4()) {
        const bool xmlCharacter = (c >= 0x20 || c == '\t' || c == '\n' || c == '\r') && c != 0xFFFE && c != 0xFFFF;
        if (!xmlCharacter)
            holdable.append(QChar(QChar::ReplacementCharacter));
        else if (QChar::requiresSurrogates(c))
            holdable.append(QChar(QChar::highSurrogate(c))).append(QChar(QChar::lowSurrogate(c)));
        else
            holdable.append(QChar(char16_t(c)));
    }
    return holdable;
}

std::optional<QVariant> PropertyList::fromData(const QByteArray& data, Error* error, qint64 maximumSize)
{
    if (data.trimmed().isEmpty()) {
        fail(error, NotAPropertyList, QStringLiteral("The property list is empty."));
        return std::nullopt;
    }
    if (data.size() > maximumSize) {
        fail(error, TooLarge, QStringLiteral("The property list is larger than %1 bytes.").arg(maximumSize));
        return std::nullopt;
    }
    if (plist_is_binary(data.constData(), uint32_t(data.size()))) {
        // libplist reads binary lists recursively without a depth limit; we
        // only ever write XML, so a binary file is refused rather than risked.
        fail(error, NotAPropertyList, QStringLiteral("Binary property lists are not read."));
        return std::nullopt;
    }
    // libplist quietly accepts a document cut short; a truncated file must
    // never load as a smaller list.
    if (!data.trimmed().endsWith("</plist>")) {
        fail(error, NotAPropertyList, QStringLiteral("The property list is incomplete."));
        return std::nullopt;
    }
    if (!nestingWithinLimit(data)) {
        fail(error, TooDeep, QStringLiteral("The property list is nested too deeply."));
        return std::nullopt;
    }
    QList<QByteArray> dateTexts;
    const std::optional<QByteArray> numbered = withNumberedDates(data, &dateTexts);
    if (!numbered) {
        fail(error, NotAPropertyList, QStringLiteral("The property list has a malformed date element."));
        return std::nullopt;
    }
    plist_t root = nullptr;
    plist_from_xml(numbered->constData(), uint32_t(numbered->size()), &root);
    const Node guard(root);
    if (!root) {
        fail(error, NotAPropertyList, QStringLiteral("The data is not a property list."));
        return std::nullopt;
    }
    return Reader(dateTexts, error).toVariant(root, QString(), 0);
}

std::optional<QVariant> PropertyList::fromFile(const QString& path, Error* error, qint64 maximumSize)
{
    QByteArray data;
    const int failure = AtomicFile::read(path, maximumSize, &data);
    if (failure == EFBIG) {
        fail(error, TooLarge, QStringLiteral("The property list %1 is larger than %2 bytes.").arg(path).arg(maximumSize));
        return std::nullopt;
    }
    if (failure != 0) {
        fail(error, ReadFailed, QStringLiteral("Cannot read %1: %2").arg(path, AtomicFile::describe(failure)));
        return std::nullopt;
    }
    return fromData(data, error, maximumSize);
}

std::optional<QVariantMap> PropertyList::dictionaryFromFile(const QString& path, Error* error)
{
    const auto value = fromFile(path, error);
    if (!value)
        return std::nullopt;
    if (value->typeId() != QMetaType::QVariantMap) {
        fail(error, WrongRootType, QStringLiteral("The property list %1 does not hold a dictionary.").arg(path));
        return std::nullopt;
    }
    return value->toMap();
}

std::optional<QByteArray> PropertyList::toData(const QVariant& value, Error* error, qint64 maximumSize)
{
    const Node root = toNode(value, QString(), 0, error);
    if (!root)
        return std::nullopt;
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(root.get(), &xml, &length);
    if (!xml) {
        fail(error, WriteFailed, QStringLiteral("The property list could not be written."));
        return std::nullopt;
    }
    QByteArray bytes = withFourDigitYears(QByteArray(xml, qsizetype(length)));
    plist_to_xml_free(xml);
    // What could not be read again is never written.
    if (bytes.size() > maximumSize) {
        fail(error, TooLarge, QStringLiteral("The property list would take %1 bytes, more than the %2 it may.").arg(bytes.size()).arg(maximumSize));
        return std::nullopt;
    }
    return bytes;
}

bool PropertyList::toFile(const QVariant& value, const QString& path, Error* error, qint64 maximumSize,
                          const std::function<void()>& beforeReplacing)
{
    const auto bytes = toData(value, error, maximumSize);
    if (!bytes)
        return false;
    // Owner-only: what the program keeps in lists is nobody else's business.
    if (const int failure = AtomicFile::write(path, *bytes, S_IRUSR | S_IWUSR, AtomicFile::Existing::Replace, beforeReplacing)) {
        fail(error, WriteFailed, QStringLiteral("Cannot write %1: %2").arg(path, AtomicFile::describe(failure)));
        return false;
    }
    return true;
}
