#pragma once
// Stands in for the service that puts entries back into the session's list:
// records what it was asked to create and how many saves had been written
// by then.
#include "engine/CreateSystemItemsApplicationState.h"
#include "foundation/MHKeelhouseKeys.h"

#include <QStringList>
#include <atomic>
#include <memory>

class RecordingCreateState : public CreateSystemItemsApplicationState {
public:
    struct Record {
        QStringList paths;
        // Those the request hands back switched off.
        QStringList switchedOffPaths;
        // Written last: once it is set, paths is complete.
        std::atomic<int> savesBefore { -1 };
    };
    RecordingCreateState(std::shared_ptr<Record> record, const std::atomic<int>& saves)
        : m_record(std::move(record))
        , m_saves(saves)
    {
    }
    void executeState() override
    {
        QStringList paths;
        QStringList switchedOff;
        for (const SystemItemData& item : itemsToCreate()) {
            paths << item.itemPath();
            if (item.requestRecord().value(MHKeelhouseKeys::disabled).toBool())
                switchedOff << item.itemPath();
        }
        m_record->paths = paths;
        m_record->switchedOffPaths = switchedOff;
        m_record->savesBefore = m_saves.load();
        proceedWithCompletionBlock();
    }

private:
    std::shared_ptr<Record> m_record;
    const std::atomic<int>& m_saves;
};
