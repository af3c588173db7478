#include "platform/linux/ItemCommands.h"

#include "foundation/DispatchQueue.h"

#include <QFile>

ItemCommands::ItemCommands() = default;

ItemCommands::~ItemCommands()
{
    m_isEnding = true;
    m_reader.reset();
}

std::shared_ptr<ItemCommands::Slot> ItemCommands::slotOf(const QString& itemPath)
{
    const std::lock_guard lock(m_mutex);
    std::shared_ptr<Slot>& slot = m_slots[itemPath];
    if (!slot)
        slot = std::make_shared<Slot>();
    return slot;
}

// Once for each slot, whichever thread comes first.
void ItemCommands::read(Slot& slot, const QString& itemPath)
{
    std::call_once(slot.read, [&] {
        slot.state = FileState::of(QFile::encodeName(itemPath));
        slot.command = ItemCommand::forItemAtPath(itemPath);
    });
}

ItemCommand ItemCommands::commandOf(const QString& itemPath)
{
    std::shared_ptr<Slot> slot = slotOf(itemPath);
    // A file changed since it was read is read again, once: one that keeps
    // changing is taken as it was last read.
    for (int reads = 1;; ++reads) {
        read(*slot, itemPath);
        if (reads == 2 || FileState::of(QFile::encodeName(itemPath)) == slot->state)
            return slot->command;
        const std::lock_guard lock(m_mutex);
        std::shared_ptr<Slot>& current = m_slots[itemPath];
        if (current == slot)
            current = std::make_shared<Slot>();
        slot = current;
    }
}

void ItemCommands::readAhead(const QStringList& itemPaths)
{
    if (itemPaths.isEmpty())
        return;
    if (!m_reader)
        m_reader = std::make_unique<DispatchQueue>(QStringLiteral("ItemCommands"));
    m_reader->async([this, itemPaths] {
        for (const QString& itemPath : itemPaths) {
            if (m_isEnding)
                return;
            read(*slotOf(itemPath), itemPath);
        }
    });
}
