#include "ui/views/ItemRowAppearance.h"

#include "model/ModelEnumerations.h"
#include "ui/views/ItemCellGeometry.h"

bool ItemRowAppearance::isPrevented(const std::optional<uint32_t>& status)
{
    return status && (*status == LastExecutionStatusPreventedByItem || *status == LastExecutionStatusPreventedByConditions
                      || *status == LastExecutionStatusPreventedByNeighbors);
}

ItemRowAppearance::Background ItemRowAppearance::background(const State& state)
{
    if (state.isExecuting)
        return Background::Executing;
    if (state.isStatusDisplayOn) {
        return isPrevented(state.status) ? Background::Prevented : Background::None;
    }
    if (state.isAlternateRow && state.isFileItem)
        return Background::AlternateStripe;
    return Background::None;
}

ItemRowAppearance::Strip ItemRowAppearance::strip(const State& state)
{
    if (!state.isStatusDisplayOn)
        return Strip::Hidden;
    if (state.didRunInThisRun && !state.isExecuting)
        return Strip::Clear;
    if (state.status == LastExecutionStatusAllowed)
        return Strip::Allowed;
    return isPrevented(state.status) ? Strip::Prevented : Strip::Clear;
}

double ItemRowAppearance::detailAlpha(const State& state, double disabledAlpha, quint64 listSize)
{
    return ItemCellGeometry::isCompactListSize(listSize) ? 0.0 : contentAlpha(state, disabledAlpha);
}
