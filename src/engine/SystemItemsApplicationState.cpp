#include "engine/SystemItemsApplicationState.h"

#include "engine/ApplicationHelping.h"
#include "foundation/DispatchQueue.h"
#include "foundation/Error.h"
#include "foundation/Log.h"
#include "foundation/MHItemDataKeys.h"
#include "foundation/MHKeelhouseKeys.h"
#include "keelhouse/KeelhouseBus.h"
#include "keelhouse/KeelhouseClient.h"
#include "keelhouse/KeelhouseServiceFile.h"
#include "keelhouse/SystemItemsServerCallbacks.h"
#include "keelhouse/SystemItemsServerExporter.h"
#include "model/ObjectContext.h"
#include "model/SystemItemHelping.h"

#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QFileInfo>
#include <QTimer>

namespace {

Error busError(QDBusError::ErrorType type, const QString& description)
{
    return Error(QDBusError::errorString(type), type, description);
}

// Why the bus cannot be reached, in its own words (they name the address it
// tried). The shared session bus keeps no cause of its failed connection: a
// connection of its own to the same bus tells it.
QString unreachableCause(const QDBusConnection& connection)
{
    if (connection.name() != QDBusConnection::sessionBus().name())
        return connection.lastError().message();
    const QString probe = QStringLiteral("lanternwick-session-bus-probe");
    const QString cause = QDBusConnection::connectToBus(QDBusConnection::SessionBus, probe).lastError().message();
    QDBusConnection::disconnectFromBus(probe);
    return cause;
}

// Why the bus could not start the service: the user mends it at the service
// file, so its path is named whatever the cause.
Error serviceStartError(const QDBusError& error)
{
    const QString file = KeelhouseServiceFile::filePath();
    QString cause;
    if (error.type() != QDBusError::ServiceUnknown)
        cause = QStringLiteral("The session bus could not start the login items service from %1: %2").arg(file, error.message());
    else if (!QFileInfo::exists(file))
        cause = QStringLiteral("The login items service is not on the session bus, and its service file %1 is missing").arg(file);
    else
        cause = QStringLiteral("The login items service is not on the session bus, which does not read its service file %1").arg(file);
    return Error(error.name(), error.type(), cause);
}

} // namespace

SystemItemsApplicationState::SystemItemsApplicationState(QString name)
    : ApplicationState(std::move(name))
    , m_connection(QDBusConnection::sessionBus())
{
}

SystemItemsApplicationState::~SystemItemsApplicationState() = default;

void SystemItemsApplicationState::setServiceConnection(QDBusConnection connection)
{
    m_connection = std::move(connection);
}

QString SystemItemsApplicationState::callbackObjectPath() const
{
    return QStringLiteral("/com/mossharbour/Lanternwick2/SystemItemsServer/%1/%2").arg(logDescription()).arg(m_requestSerial);
}

QVariantMap SystemItemsApplicationState::itemDataForServiceData(const QVariantMap& record) const
{
    QVariantMap data;
    const auto insert = [&](QLatin1String key, const QString& value) {
        if (!value.isEmpty())
            data.insert(key, value);
    };
    const QString path = record.value(MHKeelhouseKeys::path).toString();
    insert(MHItemDataKeys::path, path);
    insert(MHItemDataKeys::name, record.value(MHKeelhouseKeys::name).toString());
    // An entry whose file could not be found has nothing to describe.
    if (!path.isEmpty() && systemItemHelpers()) {
        insert(MHItemDataKeys::icon, systemItemHelpers()->iconNameForItemAtPath(path));
        insert(MHItemDataKeys::description, systemItemHelpers()->niceDescriptionForItemAtPath(path));
    }
    // It says why instead: the user can neither move nor ignore it.
    if (path.isEmpty())
        insert(MHItemDataKeys::description, record.value(MHKeelhouseKeys::reason).toString());
    return data;
}

SystemItemsApplicationState::GroupsData SystemItemsApplicationState::itemsDataOfGroups() const
{
    GroupsData data;
    dispatch_main_thread_sync([&] {
        ObjectContext* context = managedObjectContext();
        if (!context) {
            LOG_ERROR("%1 has no object context to read the login groups from", this);
            return;
        }
        data.ignoredItems = arrayOfItemsDataForGroup(context->getOrCreateIgnoreLoginGroup());
        data.applicationItems = arrayOfItemsDataForGroup(context->getOrCreateApplicationLoginGroup());
    });
    return data;
}

void SystemItemsApplicationState::createBusObjects()
{
    if (m_busContext)
        return;
    m_busContext = std::make_unique<QObject>();
    m_client = std::make_unique<KeelhouseClient>(m_connection);
    m_serviceWatcher = std::make_unique<QDBusServiceWatcher>(KeelhouseBus::serviceName(), m_connection,
                                                             QDBusServiceWatcher::WatchForUnregistration);
    QObject::connect(m_serviceWatcher.get(), &QDBusServiceWatcher::serviceUnregistered, m_busContext.get(), [this] {
        failRequest(QStringLiteral("Failed waiting for the login items service, it left the bus"),
                    busError(QDBusError::ServiceUnknown, QStringLiteral("The login items service left the bus during the request")));
    });
    m_requestTimer = std::make_unique<QTimer>();
    m_requestTimer->setSingleShot(true);
    QObject::connect(m_requestTimer.get(), &QTimer::timeout, m_busContext.get(), [this] {
        failRequest(QStringLiteral("Failed waiting for the login items service, it never answered"),
                    busError(QDBusError::Timeout, QStringLiteral("The login items service gave no answer for %1 seconds")
                                                        .arg(m_requestTimeoutMs / 1000.0)));
    });
}

void SystemItemsApplicationState::startKeelhouseAndListener(Request request)
{
    dispatch_main_thread([this, alive = std::weak_ptr<int>(m_alive), request = std::move(request)] {
        if (alive.expired())
            return;
        createBusObjects();
        m_requestActive = true;
        const quint64 serial = ++m_requestSerial;
        m_requestTimer->start(m_requestTimeoutMs);
        if (!m_connection.isConnected()) {
            failRequest(QStringLiteral("Failed reaching the login items service"),
                        busError(QDBusError::Disconnected, QStringLiteral("The session bus cannot be reached: %1").arg(unreachableCause(m_connection))));
            return;
        }
        if (!openEndpoint(serial)) {
            failRequest(QStringLiteral("Failed exporting the callbacks of %1").arg(logDescription()),
                        busError(QDBusError::Failed, m_connection.lastError().message()));
            return;
        }
        // Requests are one-way, so the bus would drop the error of a name it
        // cannot start: start it first and hear about that.
        QDBusMessage start = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                                            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("StartServiceByName"));
        start << KeelhouseBus::serviceName() << 0u;
        auto* started = new QDBusPendingCallWatcher(m_connection.asyncCall(start), m_busContext.get());
        QObject::connect(started, &QDBusPendingCallWatcher::finished, m_busContext.get(), [this, request, serial](QDBusPendingCallWatcher* call) {
            call->deleteLater();
            // The start of a request that has already failed sends nothing.
            if (!m_requestActive || serial != m_requestSerial)
                return;
            // A service that was started by other means is not known to the
            // bus's activation, and is still welcome.
            if (call->isError() && !m_connection.interface()->isServiceRegistered(KeelhouseBus::serviceName()).value()) {
                failRequest(QStringLiteral("Failed starting the login items service %1").arg(KeelhouseBus::serviceName()),
                            serviceStartError(call->error()));
                return;
            }
            sendRequest(request);
        });
    });
}

bool SystemItemsApplicationState::openEndpoint(quint64 serial)
{
    // The earlier request's object goes first: what still comes for it
    // reaches nothing, and what had come is dropped by its serial.
    m_exporter.reset();
    m_callbackGate = std::make_unique<SystemItemsServerForwarder>(
        [this, alive = std::weak_ptr<int>(m_alive), serial](const QString& callback, const QVariantList& arguments) {
            // Whatever thread the bus delivers on, the state handles its
            // callbacks on the main thread, in the order they came.
            dispatch_main_thread([this, alive, serial, callback, arguments] {
                if (!alive.expired() && serial == m_requestSerial)
                    deliver(callback, arguments);
            });
        });
    m_exporter = std::make_unique<SystemItemsServerExporter>(*m_callbackGate, m_connection, callbackObjectPath());
    return m_exporter->exportObject();
}

void SystemItemsApplicationState::sendRequest(const Request& request)
{
    m_client->setupDebugOptions(applicationHelpers() ? applicationHelpers()->debugOptions() : QVariantMap());
    m_client->setupServerEndPoint(callbackObjectPath());
    request(*m_client);
    if (!m_client->lastSendSucceeded())
        failRequest(QStringLiteral("Failed sending the request of %1").arg(logDescription()),
                    busError(QDBusError::Disconnected, m_connection.lastError().message()));
}

void SystemItemsApplicationState::deliver(const QString& name, const QVariantList& arguments)
{
    if (!m_requestActive) {
        LOG_DEBUG("%1 ignores %2 outside a request", this, name);
        return;
    }
    // The time-out counts from the latest callback: a long list goes on as
    // long as the service keeps answering, one fallen silent ends the step.
    m_requestTimer->start(m_requestTimeoutMs);
    SystemItemsServerCallbacks::deliver(*this, name, arguments);
}

void SystemItemsApplicationState::keelhouseDidFailInitializingItemsHandler()
{
    failRequest(QStringLiteral("Failed %1, the login items service could not open the list").arg(logDescription()),
                busError(QDBusError::Failed, QStringLiteral("The login items list could not be opened")));
}

void SystemItemsApplicationState::failRequest(const QString& message, const Error& error)
{
    if (!m_requestActive)
        return;
    m_requestActive = false;
    m_requestTimer->stop();
    Error::log(message, error);
    requestDidFail(error);
    endStep();
}

void SystemItemsApplicationState::finishRequest()
{
    m_requestActive = false;
    m_requestTimer->stop();
    endStep();
}

void SystemItemsApplicationState::endStep()
{
    cleanupState();
    proceedWithCompletionBlock();
}
