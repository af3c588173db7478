#include "ui/views/ItemRowContent.h"

#include "model/DBFileItem.h"
#include "model/DBStartupCondition.h"
#include "texts/Localizator.h"
#include "ui/views/ItemRunStates.h"

#include <algorithm>

ItemRowContent ItemRowContent::ofItem(const DBLoginItem& item, const ItemRunStates& states, int row)
{
    const bool isFile = item.loginItemType() == LoginItemTypeFile;
    ItemRowContent content;
    content.name = item.itemNiceDisplayName();
    if (isFile) {
        const auto& file = static_cast<const DBFileItem&>(item);
        content.detail = file.itemNiceDescription();
        content.startupMode = file.itemStartupModeValue();
    }
    QList<DBStartupCondition*> conditions = item.itemStartupConditions();
    std::stable_sort(conditions.begin(), conditions.end(), [](const DBStartupCondition* a, const DBStartupCondition* b) {
        return a->conditionSortIndexValue() < b->conditionSortIndexValue();
    });
    for (const DBStartupCondition* condition : std::as_const(conditions))
        content.conditions.append({ condition->conditionName(),
                                    states.isStatusDisplayOn() ? states.isConditionAllowed(condition->objectID()) : std::nullopt });
    content.state = states.appearanceState(item.objectID(), isFile, row);
    return content;
}

QString ItemRowContent::spokenText(const Localizator& texts) const
{
    using Text = Localizator::ItemsPageText;
    QStringList parts;
    const auto say = [&parts](const QString& part) {
        const QString spoken = part.simplified();
        if (!spoken.isEmpty() && !parts.contains(spoken))
            parts.append(spoken);
    };
    say(name);
    say(detail);
    if (startupMode == ItemStartupModeHidden)
        say(texts.itemsPageText(Text::RowHidden));
    else if (startupMode == ItemStartupModeDisabled)
        say(texts.itemsPageText(Text::RowDisabled));
    for (const Condition& condition : conditions) {
        // An unnamed badge shows nothing to read.
        if (condition.name.simplified().isEmpty())
            continue;
        if (!condition.allowed)
            say(condition.name);
        else
            say(texts.itemsPageText(*condition.allowed ? Text::RowConditionAllows : Text::RowConditionPrevents).arg(condition.name));
    }
    switch (ItemRowAppearance::strip(state)) {
    case ItemRowAppearance::Strip::Allowed:
        say(texts.itemsPageText(Text::RowWouldStart));
        break;
    case ItemRowAppearance::Strip::Prevented:
        say(texts.itemsPageText(state.status == LastExecutionStatusPreventedByItem         ? Text::RowPreventedByItem
                                : state.status == LastExecutionStatusPreventedByConditions ? Text::RowPreventedByConditions
                                                                                           : Text::RowPreventedByNeighbors));
        break;
    case ItemRowAppearance::Strip::Hidden:
    case ItemRowAppearance::Strip::Clear:
        break;
    }
    return parts.join(QStringLiteral(", "));
}
