#include "foundation/MHDebugOptions.h"
#include "foundation/MHErrors.h"
#include "foundation/MHExecuteNotifications.h"
#include "foundation/MHInternalNotifications.h"
#include "foundation/MHItemDataKeys.h"
#include "foundation/MHItemDataValues.h"
#include "foundation/MHKeelhouseKeys.h"
#include "foundation/MHSystemItemsNotifications.h"

#include <gtest/gtest.h>

// The strings cross process boundaries and stored files, so a typo breaks the
// other side silently: spot-check a few of every table.
TEST(SharedConstants, StringsAreTheAgreedOnes)
{
    const std::pair<QLatin1String, const char*> table[] = {
        { MHErrors::domain, "Lanternwick" },
        { MHExecuteNotifications::MHExecuteDelayDidTickNotification, "MHExecuteDelayDidTickNotification" },
        { MHExecuteNotifications::MHExecuteAutoCloseDidEndNotification, "MHExecuteAutoCloseDidEndNotification" },
        { MHExecuteNotifications::remainingTime, "remainingTime" },
        { MHExecuteNotifications::previousItemDisplayName, "previousItemDisplayName" },
        { MHSystemItemsNotifications::MHSystemItemsChangeNotificationDidChange, "MHSystemItemsChangeNotificationDidChange" },
        { MHSystemItemsNotifications::failedItems, "failedItems" },
        { MHInternalNotifications::MHInternalNotificationLanternwickEnabledStatusDidChanged,
          "MHInternalNotificationLanternwickEnabledStatusDidChanged" },
        { MHInternalNotifications::MHDataDidSaveToDisk, "MHDataDidSaveToDisk" },
        { MHInternalNotifications::batchInfo, "batchInfo" },
        { MHDebugOptions::PreventUninstallingLanternwick, "PreventUninstallingLanternwick" },
        { MHItemDataKeys::id, "id" },
        { MHItemDataKeys::group, "group" },
        { MHItemDataValues::waitprevious, "waitprevious" },
        { MHItemDataValues::conditionalprevious, "conditionalprevious" },
        { MHKeelhouseKeys::ref, "ref" },
        { MHKeelhouseKeys::hidden, "hidden" },
    };
    for (const auto& [constant, expected] : table)
        EXPECT_EQ(QString(constant), QString::fromLatin1(expected));
}

TEST(SharedConstants, ErrorCodes)
{
    EXPECT_EQ(MHErrors::MHErrorCodeFileItemLaunchFailed, 1);
    EXPECT_EQ(MHErrors::MHErrorCodeTextStorageLoadingFailed, 5);
    EXPECT_EQ(MHErrors::MHErrorCodeDatabaseRestoreFailed, 6);
    EXPECT_EQ(MHErrors::MHErrorCodeMigrationNoDestinationModel, 8002);
    static_assert(sizeof(MHErrors::MHErrorCode) == 8);
}
