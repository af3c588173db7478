// The service program: started by the session bus on the first request, it
// serves the login items list until it has had no client for a while.
#include "foundation/AtomicFile.h"
#include "foundation/Log.h"
#include "foundation/UserDefaults.h"
#include "keelhouse/KeelhouseBus.h"
#include "keelhouse/KeelhouseService.h"
#include "keelhouse/KeptDesktopEntries.h"
#include "keelhouse/XdgAutostartList.h"

#include <QCoreApplication>

namespace {

int idleTimeMs()
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(KeelhouseBus::idleTimeEnvironmentVariable, &ok);
    return ok && value > 0 ? value : KeelhouseBus::defaultIdleTimeMs;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    // The application's verbosity: the user's journal gets no more than its log.
    gLogMask = log_mask_for_verbosity(int32_t(UserDefaults::standard().loggingVerbosityLevel()));
    log_initialize(false);
    KeelhouseService service(KeelhouseService::connectToSessionBus(), KeelhouseDelegate(), idleTimeMs());
    QObject::connect(&service, &KeelhouseService::idle, &application, [] {
        LOG_INFO("No client left, exiting");
        QCoreApplication::quit();
    });
    if (!service.start())
        return 1;
    // Writes of a service that was killed; one serving another bus still runs, and its writes are kept.
    AtomicFile::removeLeftovers(XdgAutostartList::userFolderFromEnvironment());
    AtomicFile::removeLeftovers(KeptDesktopEntries::defaultFolder());
    return application.exec();
}
