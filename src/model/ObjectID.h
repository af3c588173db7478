#pragma once
// Identifies one object of one context for the life of that context, also
// across its deletion and undo. Its text form survives a copy and paste
// inside the running program; it means nothing to another context.
#include <QString>
#include <QUuid>
#include <QtGlobal>
#include <optional>

class ObjectID {
public:
    ObjectID() = default;
    ObjectID(const QUuid& contextID, QString entityName, quint64 number);

    bool isNull() const { return m_number == 0; }
    const QUuid& contextID() const { return m_contextID; }
    const QString& entityName() const { return m_entityName; }
    quint64 number() const { return m_number; }

    // "x-lanternwick://<context uuid>/<Entity>/p<n>"
    QString uriRepresentation() const;
    static std::optional<ObjectID> fromUriRepresentation(const QString& text);

    QString logDescription() const { return uriRepresentation(); }

    friend bool operator==(const ObjectID&, const ObjectID&) = default;

private:
    QUuid m_contextID;
    QString m_entityName;
    quint64 m_number = 0;
};

size_t qHash(const ObjectID& id, size_t seed = 0);
