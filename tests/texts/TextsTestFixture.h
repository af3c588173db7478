#pragma once
// A context that names its items with the real texts, in a fixed locale.
#include "model/DBLoginGroup.h"
#include "model/DBLoginItem.h"
#include "model/ObjectContext.h"
#include "support/FakeSystemItemHelpers.h"
#include "texts/Localizator.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <memory>

class TextsTest : public testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        helpers = std::make_shared<FakeSystemItemHelpers>();
    }

    // Appends the item to the application group.
    template <typename T>
    T* append(T* item)
    {
        DBLoginGroup* group = context.getOrCreateApplicationLoginGroup();
        item->setItemSortIndexValue(static_cast<int32_t>(group->groupLoginItems().size()));
        item->setItemLoginGroup(group);
        if constexpr (requires { item->setSystemItemHelpers(helpers); })
            item->setSystemItemHelpers(helpers);
        return item;
    }

    Localizator texts;
    ObjectContext context { texts };
    std::shared_ptr<FakeSystemItemHelpers> helpers;
};
