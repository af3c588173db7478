#pragma once
// Typed accessors of stored numbers, as every entity class declares them:
// the number (absent when never set) and its scalar value.
#include <QString>
#include <QVariant>
#include <cstdint>

#define LW_INT32_ATTRIBUTE(name, Name)                                                            \
    QVariant name() const { return value(QStringLiteral(#name)); }                               \
    void set##Name(const QVariant& number) { setValue(QStringLiteral(#name), number); }          \
    int32_t name##Value() const { return int32Value(QStringLiteral(#name)); }                     \
    void set##Name##Value(int32_t number) { setValue(QStringLiteral(#name), QVariant(number)); }

#define LW_DOUBLE_ATTRIBUTE(name, Name)                                                           \
    QVariant name() const { return value(QStringLiteral(#name)); }                               \
    void set##Name(const QVariant& number) { setValue(QStringLiteral(#name), number); }          \
    double name##Value() const { return doubleValue(QStringLiteral(#name)); }                     \
    void set##Name##Value(double number) { setValue(QStringLiteral(#name), QVariant(number)); }

#define LW_STRING_ATTRIBUTE(name, Name)                                                           \
    QString name() const { return value(QStringLiteral(#name)).toString(); }                     \
    void set##Name(const QString& text) { setValue(QStringLiteral(#name), text); }

#define LW_DATE_ATTRIBUTE(name, Name)                                                             \
    QDateTime name() const { return value(QStringLiteral(#name)).toDateTime(); }                 \
    void set##Name(const QDateTime& date) { setValue(QStringLiteral(#name), date); }

// The entity a class stands for, and construction reserved to the context.
#define LW_ENTITY(Class, Base, entityName)                                                              \
public:                                                                                           \
    static const EntityDescription& entityDescription() { return ModelSchema::entity(QStringLiteral(entityName)); } \
                                                                                                  \
private:                                                                                          \
    friend class ObjectContext;                                                                   \
    Class()                                                                                       \
        : Base(entityDescription())                                                              \
    {                                                                                             \
    }                                                                                             \
                                                                                                  \
public:
