#include "engine/SearchMissingApplicationState.h"

#include "foundation/Log.h"

SearchMissingApplicationState::SearchMissingApplicationState()
    : ApplicationState(QStringLiteral("SearchMissingApplicationState"))
{
}

void SearchMissingApplicationState::executeState()
{
    LOG_INFO("Starting search for missing items...");
    cleanupState();
    proceedWithCompletionBlock();
}
