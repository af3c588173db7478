#pragma once
// A data folder per test, a serializer over it, and a dump of a whole context
// that walks the model generically, so that it checks the serializer rather
// than repeating it.
#include "ModelTestFixture.h"
#include "foundation/PropertyList.h"
#include "model/DBLoginGroup.h"
#include "model/DBLoginItem.h"
#include "model/DBScheduledConditionData.h"
#include "model/DBScheduledConditionDataItem.h"
#include "model/DBStartupCondition.h"
#include "model/DatabaseSerializer.h"
#include "support/TestHome.h"

#include <QDateTime>
#include <QFile>
#include <memory>

inline QString describeValue(const QVariant& value)
{
    if (!value.isValid())
        return QStringLiteral("(absent)");
    if (value.typeId() == QMetaType::QDateTime)
        return QString::number(value.toDateTime().toMSecsSinceEpoch());
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 17);
    return value.toString();
}

inline QString describeAttributes(const ManagedObject* object)
{
    QStringList parts { object->entityName() };
    for (const AttributeDescription* attribute : object->entity().attributes())
        parts << attribute->name + QLatin1Char('=') + describeValue(object->value(attribute->name));
    return parts.join(QLatin1Char(' '));
}

inline QString dumpContext(ObjectContext& context)
{
    QStringList lines;
    const QList<DBStartupCondition*> conditions = context.sortedStartupConditions();
    for (const DBStartupCondition* condition : conditions) {
        lines << describeAttributes(condition);
        for (const RelationshipDescription* relationship : condition->entity().relationships()) {
            const ManagedObject* data = relationship->toMany ? nullptr : condition->toOne(relationship->name);
            if (!data)
                continue;
            lines << QStringLiteral("  ") + describeAttributes(data);
            if (const auto* schedule = dynamic_cast<const DBScheduledConditionData*>(data))
                for (const DBScheduledConditionDataItem* entry : context.sortedScheduleItemsForScheduledConditionData(schedule))
                    lines << QStringLiteral("    ") + describeAttributes(entry);
        }
    }
    for (const DBLoginGroup* group : context.fetch<DBLoginGroup>()) {
        lines << describeAttributes(group);
        for (const DBLoginItem* item : context.sortedLoginItemsForGroup(group)) {
            QStringList names;
            for (const DBStartupCondition* condition : item->itemStartupConditions())
                names << QString::number(conditions.indexOf(condition));
            names.sort();
            lines << QStringLiteral("  ") + describeAttributes(item) + QStringLiteral(" conditions=") + names.join(QLatin1Char(','));
        }
    }
    return lines.join(QLatin1Char('\n'));
}

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

class StorageTest : public ModelTest {
protected:
    std::unique_ptr<DatabaseSerializer> makeSerializer(std::unique_ptr<DatabaseFiles> files = std::make_unique<DatabaseFiles>())
    {
        return std::make_unique<DatabaseSerializer>(folder, QStringLiteral("Lanternwick"), texts, std::move(files));
    }

    // A time of day on the reference day of the model, in local time.
    static QDateTime timeOfDay(int hour, int minute) { return QDateTime(QDate(2006, 10, 1), QTime(hour, minute)); }

    const QString folder = freshTestFolder(QString::fromUtf8(testing::UnitTest::GetInstance()->current_test_info()->name()));
    const QString store = folder + QStringLiteral("/Lanternwick.plist");
    const QString sessionBackup = store + QStringLiteral(".backup");
    const QString lastChangeBackup = store + QStringLiteral(".backup~");
};
