#pragma once
// One Wi-Fi network: in range, joined, or only known to the system.
#include <QList>
#include <QMetaType>
#include <QString>

class NetworkData {
public:
    NetworkData() = default;
    // Name and value alike, as every network the system reports.
    explicit NetworkData(const QString& name);

    // Shown and matched by network conditions.
    QString name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    // What a network condition stores to identify the network.
    QString value() const { return m_value; }
    void setValue(const QString& value) { m_value = value; }
    // In range at the last scan.
    bool available() const { return m_available; }
    void setAvailable(bool available) { m_available = available; }
    bool connected() const { return m_connected; }
    void setConnected(bool connected) { m_connected = connected; }
    // Stands for the present connection.
    bool current() const { return m_current; }
    void setCurrent(bool current) { m_current = current; }

    // "<name> ac", with "-" for each flag that is off.
    QString description() const;
    QString logDescription() const { return description(); }

    bool operator==(const NetworkData&) const = default;

private:
    QString m_name;
    QString m_value;
    bool m_available = false;
    bool m_connected = false;
    bool m_current = false;
};

Q_DECLARE_METATYPE(NetworkData)
Q_DECLARE_METATYPE(QList<NetworkData>)
