#pragma once
// Base of the states that work on the session's login items list through the
// login items service. Each request has its own callback object on the bus,
// at a path no earlier request had, so that the late callbacks of a request
// that timed out reach nothing and never end the next one. A subclass sends
// one request in executeState() and ends the step from the service's end
// callback with finishRequest().
//
// The service answers nothing by reply, so a state would wait for ever when
// it is gone: a name the bus cannot start, a service that leaves the bus
// during the request, a list the service cannot open, or no callback within
// the request time-out (counted from the latest callback) all end the step
// with a logged failure, so the rest of the chain still runs.
//
// Threads: the request is prepared on the thread that starts the state; the
// bus work, every callback, the failures and so the notifications of the
// subclasses run on the main thread, one after another.
#include "engine/ApplicationState.h"
#include "keelhouse/SystemItemsServerForwarder.h"
#include "keelhouse/SystemItemsServerInterface.h"

#include <QDBusConnection>
#include <functional>
#include <memory>

class Error;
class KeelhouseClient;
class KeelhouseInterface;
class QDBusPendingCallWatcher;
class QDBusServiceWatcher;
class QTimer;
class SystemItemsServerExporter;

class SystemItemsApplicationState : public ApplicationState, public SystemItemsServerInterface {
public:
    using Request = std::function<void(KeelhouseInterface& proxy)>;

    static constexpr int defaultRequestTimeoutMs = 30 * 1000;

    explicit SystemItemsApplicationState(QString name);
    ~SystemItemsApplicationState() override;

    // The bus the service is reached on; the session bus by default. Set
    // before the first request.
    void setServiceConnection(QDBusConnection connection);
    // How long a request may go without any callback.
    void setRequestTimeoutMs(int ms) { m_requestTimeoutMs = ms; }
    // Where the callback object of the current request is exported: one
    // path per state class and request.
    QString callbackObjectPath() const;

    // The UI item dictionary of a system item record.
    QVariantMap itemDataForServiceData(const QVariantMap& record) const;

    // Empty here: each subclass overrides the callbacks of its operation.
    void keelhouseDidFailInitializingItemsHandler() override;
    void keelhouseDidBeginReading() override {}
    void keelhouseDidEndReading() override {}
    void keelhouseDidBeginReadingItem(const QVariantMap&) override {}
    void keelhouseDidEndReadingItem(const QVariantMap&) override {}
    void keelhouseDidBeginCreating() override {}
    void keelhouseDidEndCreating() override {}
    void keelhouseDidBeginCreatingItem(const QVariantMap&) override {}
    void keelhouseDidEndCreatingItem(const QVariantMap&) override {}
    void keelhouseDidBeginDeleting() override {}
    void keelhouseDidEndDeleting() override {}
    void keelhouseDidBeginDeletingItem(const QVariantMap&) override {}
    void keelhouseDidEndDeletingItem(const QVariantMap&) override {}
    void keelhouseDidBeginUninstalling() override {}
    void keelhouseDidEndUninstalling() override {}
    void keelhouseDidBeginUninstallingItem(const QVariantMap&) override {}
    void keelhouseDidEndUninstallingItem(const QVariantMap&) override {}
    void keelhouseDidBeginHandlingLanternwick(const QVariantMap&) override {}
    void keelhouseDidEndHandlingLanternwick(const QVariantMap&) override {}
    void keelhouseDidFindLanternwick(const QVariantMap&) override {}
    void keelhouseDidFindIgnoredItem(const QVariantMap&) override {}
    void keelhouseDidFindApplicationItem(const QVariantMap&) override {}
    void keelhouseDidFindUnknownItem(const QVariantMap&) override {}
    void keelhouseDidFailItem(const QVariantMap&) override {}
    void keelhouseDidFailReadingItem(const QVariantMap&) override {}
    void keelhouseDidFailCreatingItem(const QVariantMap&) override {}
    void keelhouseDidFailDeletingItem(const QVariantMap&) override {}

protected:
    // Starts the service when needed, then sends the debug options, the
    // callback object and request, in that order.
    void startKeelhouseAndListener(Request request);
    // Ends the step after the end callback has been handled.
    void finishRequest();
    // Lets a subclass close what it opened for a request that failed (its
    // start notification wants an end); error says why, in words the user
    // can act on. Runs on the main thread.
    virtual void requestDidFail(const Error&) {}

    // The application group and the ignored group, as item data dictionaries.
    struct GroupsData {
        QVariantList ignoredItems;
        QVariantList applicationItems;
    };
    GroupsData itemsDataOfGroups() const;

private:
    void createBusObjects();
    // Exports a fresh callback object for the request of serial.
    bool openEndpoint(quint64 serial);
    void sendRequest(const Request& request);
    void deliver(const QString& name, const QVariantList& arguments);
    void failRequest(const QString& message, const Error& error);
    void endStep();

    QDBusConnection m_connection;
    int m_requestTimeoutMs = defaultRequestTimeoutMs;
    const std::shared_ptr<int> m_alive = std::make_shared<int>(0);
    // Main thread only.
    bool m_requestActive = false;
    quint64 m_requestSerial = 0;
    // The callbacks of the current request, and the object they arrive at.
    std::unique_ptr<SystemItemsServerForwarder> m_callbackGate;
    std::unique_ptr<SystemItemsServerExporter> m_exporter;
    // The receiver of the bus objects' signals; goes with the state.
    std::unique_ptr<QObject> m_busContext;
    std::unique_ptr<KeelhouseClient> m_client;
    std::unique_ptr<QDBusServiceWatcher> m_serviceWatcher;
    std::unique_ptr<QTimer> m_requestTimer;
};
