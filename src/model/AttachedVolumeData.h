#pragma once
// One mounted volume as the volume condition sees it.
#include <QMetaType>
#include <QString>

class AttachedVolumeData {
public:
    AttachedVolumeData() = default;
    AttachedVolumeData(const QString& path, const QString& name, bool attached);

    QString path() const { return m_path; }
    void setPath(const QString& path) { m_path = path; }
    QString name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    bool attached() const { return m_attached; }
    void setAttached(bool attached) { m_attached = attached; }

    // "<name> a" when attached, "<name> -" otherwise.
    QString description() const;
    QString logDescription() const { return description(); }

    bool operator==(const AttachedVolumeData&) const = default;

private:
    QString m_path;
    QString m_name;
    bool m_attached = false;
};

Q_DECLARE_METATYPE(AttachedVolumeData)
