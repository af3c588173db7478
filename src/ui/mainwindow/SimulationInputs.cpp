#include "ui/mainwindow/SimulationInputs.h"

#include <QSet>
#include <algorithm>

namespace {

// The first character, never half of a surrogate pair.
QString firstCharacter(const QString& name)
{
    return name.left(name.front().isHighSurrogate() ? 2 : 1);
}

QString labelOrDash(const QString& label)
{
    return label.isEmpty() ? QStringLiteral("-") : label;
}

} // namespace

QDateTime SimulationInputs::simulatedDate(const QDateTime& now, int day, int minute, const QTimeZone& zone)
{
    const QDate today = now.toTimeZone(zone).date();
    const QDate monday = today.addDays(1 - today.dayOfWeek());
    const QDate date = monday.addDays(DaysInWeek + std::clamp(day, 0, DaysInWeek - 1));
    for (int candidate = std::clamp(minute, 0, MinutesInDay - 1); candidate < MinutesInDay; ++candidate) {
        const QTime time(candidate / 60, candidate % 60);
        const QDateTime moment(date, time, zone);
        if (moment.isValid() && moment.date() == date && moment.time() == time)
            return moment;
    }
    return QDateTime(date.addDays(1), QTime(0, 0), zone);
}

QList<AttachedVolumeData> SimulationInputs::volumeRows(const QList<AttachedVolumeData>& mountedVolumes,
                                                       const QStringList& conditionVolumePaths,
                                                       const QList<AttachedVolumeData>& previousRows,
                                                       const std::function<QString(const QString& path)>& nameForPath)
{
    QList<AttachedVolumeData> rows;
    QSet<QString> listed;
    const auto add = [&](AttachedVolumeData volume) {
        if (volume.path().isEmpty() || listed.contains(volume.path()))
            return;
        listed.insert(volume.path());
        const auto previous = std::find_if(previousRows.cbegin(), previousRows.cend(),
                                           [&](const AttachedVolumeData& row) { return row.path() == volume.path(); });
        if (previous != previousRows.cend())
            volume.setAttached(previous->attached());
        rows.append(volume);
    };
    for (const AttachedVolumeData& volume : mountedVolumes)
        add(AttachedVolumeData(volume.path(), volume.name(), true));
    for (const QString& path : conditionVolumePaths) {
        if (!path.isEmpty() && !listed.contains(path))
            add(AttachedVolumeData(path, nameForPath(path), false));
    }
    return rows;
}

QList<NetworkData> SimulationInputs::networkRows(const QList<NetworkData>& knownNetworks, const QStringList& conditionNetworkNames)
{
    QList<NetworkData> rows;
    QSet<QString> listed;
    for (const NetworkData& network : knownNetworks) {
        if (network.name().isEmpty() || listed.contains(network.name()))
            continue;
        listed.insert(network.name());
        rows.append(network);
    }
    for (const QString& name : conditionNetworkNames) {
        if (name.isEmpty() || listed.contains(name))
            continue;
        listed.insert(name);
        rows.append(NetworkData(name));
    }
    return rows;
}

void SimulationInputs::makeConnectedNetworksAvailable(QList<NetworkData>& networks)
{
    for (NetworkData& network : networks) {
        if (network.connected())
            network.setAvailable(true);
    }
}

QString SimulationInputs::volumesLabel(const QList<AttachedVolumeData>& volumes)
{
    QString label;
    for (const AttachedVolumeData& volume : volumes) {
        if (volume.attached() && !volume.name().isEmpty())
            label += firstCharacter(volume.name());
    }
    return labelOrDash(label);
}

QString SimulationInputs::networksLabel(const QList<NetworkData>& networks)
{
    QString label;
    for (const NetworkData& network : networks) {
        if ((network.available() || network.connected()) && !network.name().isEmpty())
            label += firstCharacter(network.name());
    }
    return labelOrDash(label);
}

bool SimulationInputs::isAtLeastOneNetworkReachable(const QList<NetworkData>& networks)
{
    return std::any_of(networks.cbegin(), networks.cend(),
                       [](const NetworkData& network) { return network.available() || network.connected(); });
}
