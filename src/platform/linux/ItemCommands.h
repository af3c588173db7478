#pragma once
// The commands of the items a run asks about, each read once while its file
// stays as it was: a wait asks about its item again and again. Given the
// items to come, it reads them ahead on a queue of its own, so that a step
// finds its item's command read; a step that comes to an item first reads it
// itself, and a read under way is waited for rather than repeated.
#include "platform/linux/FileState.h"
#include "platform/linux/ItemCommand.h"

#include <QHash>
#include <atomic>
#include <memory>
#include <mutex>

class DispatchQueue;

class ItemCommands {
public:
    ItemCommands();
    // Ends the reading ahead after the item it reads.
    ~ItemCommands();
    ItemCommands(const ItemCommands&) = delete;
    ItemCommands& operator=(const ItemCommands&) = delete;

    // path as ItemCommand::forItemAtPath takes it, written.
    ItemCommand commandOf(const QString& itemPath);
    // The items to come, in the order they come.
    void readAhead(const QStringList& itemPaths);

private:
    struct Slot {
        std::once_flag read;
        FileState state;
        ItemCommand command;
    };

    std::shared_ptr<Slot> slotOf(const QString& itemPath);
    static void read(Slot& slot, const QString& itemPath);

    std::mutex m_mutex;
    QHash<QString, std::shared_ptr<Slot>> m_slots;
    std::atomic<bool> m_isEnding = false;
    // Last, so that its thread ends before what its task uses goes.
    std::unique_ptr<DispatchQueue> m_reader;
};
