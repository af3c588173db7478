#pragma once
// How controllers carry model objects as their represented object: a
// ManagedObject* in the QVariant, as KeyValueCoding reads values, so that the
// same variant serves observation and display.
#include "model/KeyValueCoding.h"
#include "model/ManagedObject.h"

#include <QVariant>

class RepresentedObject {
public:
    // Invalid for no object.
    static QVariant fromObject(ManagedObject* object)
    {
        return object ? QVariant::fromValue(object) : QVariant();
    }

    // The object when it is a T, else null.
    template <typename T>
    static T* objectAs(const QVariant& value)
    {
        return dynamic_cast<T*>(KeyValueCoding::objectInValue(value));
    }

    // The same, and null once the object was deleted (it stays in memory for undo).
    template <typename T>
    static T* liveObjectAs(const QVariant& value)
    {
        T* object = objectAs<T>(value);
        return object && object->isInserted() ? object : nullptr;
    }
};
