#include "ui/views/SystemItemDelegate.h"

#include "foundation/UserDefaults.h"
#include "ui/icons/IconsManager.h"
#include "ui/views/BackgroundStyle.h"

#include <QIcon>
#include <QPainter>
#include <algorithm>

SystemItemDelegate::SystemItemDelegate(UserDefaults* userDefaults, QObject* parent)
    : ItemRowDelegateBase(userDefaults, parent)
{
}

QSize SystemItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return QSize(std::max(option.rect.width(), 200), int(userDefaults().itemsListsHeightBasedOnCurrentSizeSetting()));
}

ItemCellGeometry::Frames SystemItemDelegate::framesForRow(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return rowFrames(option, index.data(Qt::DisplayRole).toString(), index.data(DescriptionRole).toString(), true, 0);
}

std::optional<QRect> SystemItemDelegate::actionButtonRect(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return index.isValid() ? std::optional<QRect>(framesForRow(option, index).actionButton.toRect()) : std::nullopt;
}

void SystemItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    ItemRowAppearance::State state;
    state.isAlternateRow = index.row() % 2 == 1;
    const ItemCellGeometry::Frames frames = framesForRow(option, index);

    painter->save();
    painter->setClipRect(option.rect);
    paintRowBackground(*painter, option, state);
    index.data(Qt::DecorationRole).value<QIcon>().paint(painter, frames.icon.toRect());
    paintName(*painter, option, frames.name, index.data(Qt::DisplayRole).toString());
    paintDetail(*painter, option, frames.detail, index.data(DescriptionRole).toString(),
                ItemRowAppearance::detailAlpha(state, 1, userDefaults().itemsListsSize()));
    const int style = int(selected ? BackgroundStyle::Dark : BackgroundStyle::Light);
    paintActionButton(*painter, frames.actionButton, IconsManager::sharedInstance().itemShownIcon().styled(style).image());
    painter->restore();
}
