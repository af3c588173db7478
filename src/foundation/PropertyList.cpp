#include "foundation/PropertyList.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <cstdlib>
#include <limits>
#include <memory>
#include <plist/plist.h>

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

// libplist keeps a date as 64-bit seconds but hands it out and takes it in
// only as 32 bits (1901 to 2038 around its 2001 epoch); its XML text carries
// the whole range, so dates pass through that text instead.
std::optional<QDateTime> dateOfNode(plist_t node)
{
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(node, &xml, &length);
    if (!xml)
        return std::nullopt;
    const QByteArray text(xml, qsizetype(length));
    plist_to_xml_free(xml);
    // Years below 1000 come without leading zeros.
    static const QRegularExpression form(QStringLiteral("<date>(\\d{1,4})-(\\d\\d)-(\\d\\d)T(\\d\\d):(\\d\\d):(\\d\\d)Z</date>"));
    const QRegularExpressionMatch match = form.match(QString::fromLatin1(text));
    if (!match.hasMatch())
        return std::nullopt;
    const auto part = [&](int index) { return match.capturedView(index).toInt(); };
    const QDateTime date(QDate(part(1), part(2), part(3)), QTime(part(4), part(5), part(6)), Qt::UTC);
    return date.isValid() && isStorableDate(date) ? std::optional<QDateTime>(date) : std::nullopt;
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

std::optional<QVariant> toVariant(plist_t node, int depth, Error* error)
{
    if (depth > PropertyList::kMaximumDepth) {
        fail(error, PropertyList::TooDeep, QStringLiteral("The property list is nested too deeply."));
        return std::nullopt;
    }
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
        return QVariant(text ? QString::fromUtf8(text, qsizetype(length)) : QString());
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        return QVariant(bytes ? QByteArray(bytes, qsizetype(length)) : QByteArray());
    }
    case PLIST_DATE: {
        const std::optional<QDateTime> date = dateOfNode(node);
        if (!date) {
            fail(error, PropertyList::NotAPropertyList, QStringLiteral("The property list holds a date out of range."));
            return std::nullopt;
        }
        return QVariant(*date);
    }
    case PLIST_ARRAY: {
        QVariantList list;
        const uint32_t size = plist_array_get_size(node);
        for (uint32_t i = 0; i < size; ++i) {
            plist_t item = plist_array_get_item(node, i);
            auto value = item ? toVariant(item, depth + 1, error) : std::nullopt;
            if (!value) {
                if (!item)
                    fail(error, PropertyList::NotAPropertyList, QStringLiteral("The property list has a broken array."));
                return std::nullopt;
            }
            list.append(*value);
        }
        return QVariant(list);
    }
    case PLIST_DICT: {
        QVariantMap map;
        plist_dict_iter iterator = nullptr;
        plist_dict_new_iter(node, &iterator);
        if (!iterator) {
            fail(error, PropertyList::NotAPropertyList, QStringLiteral("The property list has a broken dictionary."));
            return std::nullopt;
        }
        const std::unique_ptr<void, decltype(&std::free)> iteratorGuard(iterator, &std::free);
        for (;;) {
            char* rawKey = nullptr;
            plist_t item = nullptr;
            plist_dict_next_item(node, iterator, &rawKey, &item);
            const CString key(rawKey);
            if (!item)
                break;
            if (!key) {
                fail(error, PropertyList::NotAPropertyList, QStringLiteral("The property list has a dictionary entry without a key."));
                return std::nullopt;
            }
            auto value = toVariant(item, depth + 1, error);
            if (!value)
                return std::nullopt;
            map.insert(QString::fromUtf8(key.get()), *value);
        }
        return QVariant(map);
    }
    default:
        fail(error, PropertyList::NotAPropertyList, QStringLiteral("The property list holds a value of an unsupported kind."));
        return std::nullopt;
    }
}

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
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != '\t' && u != '\n' && u != '\r') || u == 0xFFFE || u == 0xFFFF)
            return false;
    }
    return text.isValidUtf16();
}

std::optional<QVariant> PropertyList::fromData(const QByteArray& data, Error* error)
{
    if (data.trimmed().isEmpty()) {
        fail(error, NotAPropertyList, QStringLiteral("The property list is empty."));
        return std::nullopt;
    }
    if (data.size() > kMaximumFileSize) {
        fail(error, NotAPropertyList, QStringLiteral("The property list is too large."));
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
    plist_t root = nullptr;
    plist_from_xml(data.constData(), uint32_t(data.size()), &root);
    const Node guard(root);
    if (!root) {
        fail(error, NotAPropertyList, QStringLiteral("The data is not a property list."));
        return std::nullopt;
    }
    return toVariant(root, 0, error);
}

std::optional<QVariant> PropertyList::fromFile(const QString& path, Error* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(error, ReadFailed, QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    if (file.size() > kMaximumFileSize) {
        fail(error, NotAPropertyList, QStringLiteral("The property list %1 is too large.").arg(path));
        return std::nullopt;
    }
    const QByteArray data = file.read(kMaximumFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        fail(error, ReadFailed, QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    return fromData(data, error);
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

std::optional<QByteArray> PropertyList::toData(const QVariant& value, Error* error)
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
    QByteArray bytes(xml, qsizetype(length));
    plist_to_xml_free(xml);
    return bytes;
}

bool PropertyList::toFile(const QVariant& value, const QString& path, Error* error)
{
    const auto bytes = toData(value, error);
    if (!bytes)
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit()) {
        fail(error, WriteFailed, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}
