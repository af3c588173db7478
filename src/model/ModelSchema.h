#pragma once
// The entities of the item database, their attributes, relationships,
// inverses and delete rules, in one place.
#include "model/EntityDescription.h"

#include <QString>

class ModelSchema {
public:
    // Asserts on an unknown name: entity names are fixed in code.
    static const EntityDescription& entity(const QString& name);
    static const EntityDescription* findEntity(const QString& name);
};
