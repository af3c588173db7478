#pragma once
// The user-visible file systems mounted now, and a signal when the mounts change.
#include "platform/MountedVolume.h"

#include <QList>
#include <QObject>

class MountedVolumesProvider : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Safe from any thread.
    virtual QList<MountedVolume> mountedVolumes() const = 0;

Q_SIGNALS:
    // Emitted on the thread that created the provider.
    void volumesChanged();
};
