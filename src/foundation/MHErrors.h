#pragma once
// The product's error domain and codes, shared by the application and the
// service. The codes are plain 64-bit integers so that they travel unchanged
// in error values and over D-Bus.
#include <QLatin1String>
#include <QtGlobal>

namespace MHErrors {

inline constexpr QLatin1String domain { "Lanternwick" };

enum MHErrorCode : qint64 {
    MHErrorCodeFileItemLaunchFailed = 1,
    MHErrorCodeCoreDataInitializationFailed = 2,
    MHErrorCodeTextStorageInitializationFailed = 3,
    // Kept so that the numbering stays stable; nothing raises it.
    MHErrorCodeUnassigned = 4,
    MHErrorCodeTextStorageLoadingFailed = 5,
    MHErrorCodeDatabaseRestoreFailed = 6,
    MHErrorCodeRunNotKept = 7,
    MHErrorCodeMigrationNoModels = 8001,
    MHErrorCodeMigrationNoDestinationModel = 8002,
};

} // namespace MHErrors
