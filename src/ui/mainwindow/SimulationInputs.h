#pragma once
// The facts the simulation bar offers the user, and what it makes of the
// user's choices: the simulated moment, the volumes and networks to choose
// from, and the short labels of the bar's buttons.
#include "model/AttachedVolumeData.h"
#include "model/NetworkData.h"

#include <QDateTime>
#include <QList>
#include <QStringList>
#include <QTimeZone>
#include <functional>

class SimulationInputs {
public:
    static constexpr int DaysInWeek = 7;
    static constexpr int MinutesInDay = 24 * 60;

    // The given day of the week after now's (0 Monday ... 6 Sunday) at the
    // given minute of that day, in local time of the zone. A minute that does
    // not exist that day (the clock moves forward) becomes the next one that
    // does. Day and minute are clamped to their ranges.
    static QDateTime simulatedDate(const QDateTime& now, int day, int minute, const QTimeZone& zone);

    // The mounted volumes, then the volumes the conditions name (in their
    // order) that are not mounted. A volume without a path is left out and a
    // path is listed once. A volume the user already chose for keeps that
    // choice; others are chosen when they are mounted.
    static QList<AttachedVolumeData> volumeRows(const QList<AttachedVolumeData>& mountedVolumes,
                                                const QStringList& conditionVolumePaths,
                                                const QList<AttachedVolumeData>& previousRows,
                                                const std::function<QString(const QString& path)>& nameForPath);
    // The known networks, then those the conditions name (in their order),
    // unchosen. A network without a name is left out and a name listed once.
    static QList<NetworkData> networkRows(const QList<NetworkData>& knownNetworks, const QStringList& conditionNetworkNames);

    // A network the machine is joined to is also in range.
    static void makeConnectedNetworksAvailable(QList<NetworkData>& networks);

    // The first letters of the chosen volumes' or networks' names, or "-".
    static QString volumesLabel(const QList<AttachedVolumeData>& volumes);
    static QString networksLabel(const QList<NetworkData>& networks);
    static bool isAtLeastOneNetworkReachable(const QList<NetworkData>& networks);
};
