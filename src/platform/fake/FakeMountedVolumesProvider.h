#pragma once
#include "platform/MountedVolumesProvider.h"

#include <mutex>

class FakeMountedVolumesProvider : public MountedVolumesProvider {
    Q_OBJECT
public:
    using MountedVolumesProvider::MountedVolumesProvider;

    // Replaces the volumes and reports the change like a real mount would.
    void setMountedVolumes(const QList<MountedVolume>& volumes)
    {
        {
            std::lock_guard lock(m_mutex);
            m_volumes = volumes;
        }
        Q_EMIT volumesChanged();
    }
    QList<MountedVolume> mountedVolumes() const override
    {
        std::lock_guard lock(m_mutex);
        return m_volumes;
    }

private:
    mutable std::mutex m_mutex;
    QList<MountedVolume> m_volumes;
};
