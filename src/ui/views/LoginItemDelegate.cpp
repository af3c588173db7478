#include "ui/views/LoginItemDelegate.h"

#include "foundation/UserDefaults.h"
#include "model/DBFileItem.h"
#include "ui/base/ThemeIcon.h"
#include "ui/icons/ColorFromRgba.h"
#include "ui/icons/IconsManager.h"
#include "ui/icons/LanternwickStyleKit.h"
#include "ui/views/BackgroundStyle.h"
#include "ui/views/ConditionBadgeLayout.h"
#include "ui/views/ItemRowContent.h"
#include "ui/views/ItemRunStates.h"

#include <QPainter>
#include <algorithm>

LoginItemDelegate::LoginItemDelegate(ItemSource itemSource, const ItemRunStates& states, UserDefaults* userDefaults,
                                     QObject* parent)
    : ItemRowDelegateBase(userDefaults, parent)
    , m_itemSource(std::move(itemSource))
    , m_states(states)
{
    const UserDefaults& settings = this->userDefaults();
    m_stripPreventedColor = colorFromRgba(settings.startupConditionsListViewSimulationPreventBorderColor());
    m_fileDisabledAlpha = settings.loginItemViewDisabledAlpha();
    m_utilityDisabledAlpha = settings.simpleItemViewDisabledAlpha();
    m_normalBadge = { colorFromRgba(settings.startupConditionsListViewTextColor()),
                      colorFromRgba(settings.startupConditionsListViewBorderColor()),
                      colorFromRgba(settings.startupConditionsListViewBackgroundColor()) };
    m_allowBadge = { colorFromRgba(settings.startupConditionsListViewSimulationAllowTextColor()),
                     colorFromRgba(settings.startupConditionsListViewSimulationAllowBorderColor()),
                     colorFromRgba(settings.startupConditionsListViewSimulationAllowBackgroundColor()) };
    m_preventBadge = { colorFromRgba(settings.startupConditionsListViewSimulationPreventTextColor()),
                       colorFromRgba(settings.startupConditionsListViewSimulationPreventBorderColor()),
                       colorFromRgba(settings.startupConditionsListViewSimulationPreventBackgroundColor()) };

    m_stripAnimation.setDuration(StripAnimationMs);
    m_stripAnimation.setEasingCurve(QEasingCurve::InOutQuad);
    connect(&m_stripAnimation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_stripProgress = value.toDouble();
        Q_EMIT repaintNeeded();
    });
}

void LoginItemDelegate::setStatusDisplayOn(bool on, bool animated)
{
    const double target = on ? 1.0 : 0.0;
    m_stripAnimation.stop();
    if (!animated || m_stripProgress == target) {
        m_stripProgress = target;
        Q_EMIT repaintNeeded();
        return;
    }
    m_stripAnimation.setStartValue(m_stripProgress);
    m_stripAnimation.setEndValue(target);
    m_stripAnimation.start();
}

QSize LoginItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const DBLoginItem* item = m_itemSource(index);
    const bool isFile = !item || item->loginItemType() == LoginItemTypeFile;
    const double height = isFile ? userDefaults().itemsListsHeightBasedOnCurrentSizeSetting() : userDefaults().simpleItemViewCellHeight();
    return QSize(std::max(option.rect.width(), 200), int(height));
}

ItemCellGeometry::Frames LoginItemDelegate::framesForRow(const QStyleOptionViewItem& option, const DBLoginItem& item) const
{
    return framesForContent(option, ItemRowContent::ofItem(item, m_states, 0));
}

ItemCellGeometry::Frames LoginItemDelegate::framesForContent(const QStyleOptionViewItem& option, const ItemRowContent& content) const
{
    return rowFrames(option, content.name, content.detail, content.state.isFileItem, m_stripProgress);
}

std::optional<QRect> LoginItemDelegate::actionButtonRect(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const DBLoginItem* item = m_actionButtonHidden ? nullptr : m_itemSource(index);
    return item ? std::optional<QRect>(framesForRow(option, *item).actionButton.toRect()) : std::nullopt;
}

QPixmap LoginItemDelegate::iconForItem(const DBLoginItem& item, bool selected) const
{
    const int style = selected ? int(BackgroundStyle::Dark) : int(BackgroundStyle::Light);
    const IconsManager& icons = IconsManager::sharedInstance();
    switch (item.loginItemType()) {
    case LoginItemTypeFile: {
        return themeIcon(static_cast<const DBFileItem&>(item).itemIconName(), QStringLiteral("application-x-executable")).pixmap(32);
    }
    case LoginItemTypeDelay:
        return icons.delayItemIcon().styled(style).image();
    case LoginItemTypeWaitPrevious:
        return icons.waitPreviousItemIcon().styled(style).image();
    case LoginItemTypeConditionalPrevious:
        return icons.conditionalPreviousItemIcon().styled(style).image();
    }
    return {};
}

QPixmap LoginItemDelegate::actionIconForStartupMode(int startupMode, bool selected)
{
    const int style = selected ? int(BackgroundStyle::Dark) : int(BackgroundStyle::Light);
    const IconsManager& icons = IconsManager::sharedInstance();
    switch (startupMode) {
    case ItemStartupModeHidden:
        return icons.itemHiddenIcon().styled(style).image();
    case ItemStartupModeDisabled:
        return icons.itemDisabledIcon().styled(style).image();
    default:
        return icons.itemShownIcon().styled(style).image();
    }
}

void LoginItemDelegate::paintBadges(QPainter& painter, const QRectF& strip, const ItemRowContent& content) const
{
    const QList<ItemRowContent::Condition>& conditions = content.conditions;
    if (conditions.isEmpty() || strip.width() <= 0)
        return;
    const UserDefaults& settings = userDefaults();
    const double padding = settings.startupConditionsListViewItemTextPadding();
    const QFont font = badgeFont(painter.font());
    const QFontMetricsF metrics(font);
    QList<double> widths;
    for (const ItemRowContent::Condition& condition : conditions)
        widths.append(ConditionBadgeLayout::measuredWidth(metrics.horizontalAdvance(singleLine(condition.name)), padding));
    const QList<ConditionBadgeLayout::Frame> frames = ConditionBadgeLayout::fit(
        widths, { strip.width(), settings.startupConditionsListViewItemSpacing(), settings.startupConditionsListViewMinItemWidth(),
                  settings.startupConditionsListViewMinWidthThreshold() });

    painter.setFont(font);
    for (qsizetype index = 0; index < conditions.size(); ++index) {
        const ConditionBadgeLayout::Frame& frame = frames[index];
        if (frame.isHidden())
            continue;
        const std::optional<bool>& allowed = conditions[index].allowed;
        const BadgeColors& colors = !allowed ? m_normalBadge : *allowed ? m_allowBadge : m_preventBadge;
        const QRectF badge(strip.left() + frame.x, strip.top(), frame.width, strip.height());
        LanternwickStyleKit::drawStartupConditionWithFrame(painter, badge, colors.background, colors.border);
        const QRectF text = badge.adjusted(padding, 0, -padding, 0);
        painter.setPen(colors.text);
        painter.drawText(text, Qt::AlignCenter,
                         metrics.elidedText(singleLine(conditions[index].name), Qt::ElideRight, std::max(text.width(), 0.0)));
    }
}

void LoginItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const DBLoginItem* item = m_itemSource(index);
    if (!item) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // What is painted here is what screen readers hear (the list model's accessible text).
    const ItemRowContent content = ItemRowContent::ofItem(*item, m_states, index.row());
    const ItemRowAppearance::State& state = content.state;
    const bool selected = option.state & QStyle::State_Selected;
    const ItemCellGeometry::Frames frames = framesForContent(option, content);

    painter->save();
    painter->setClipRect(option.rect);
    paintRowBackground(*painter, option, state);

    if (m_stripProgress > 0) {
        const ItemRowAppearance::Strip strip = ItemRowAppearance::strip(state);
        if (strip == ItemRowAppearance::Strip::Allowed || strip == ItemRowAppearance::Strip::Prevented) {
            painter->setOpacity(m_stripProgress);
            painter->fillRect(frames.strip, strip == ItemRowAppearance::Strip::Allowed ? m_executingColor : m_stripPreventedColor);
        }
    }

    const double disabledAlpha = state.isFileItem ? m_fileDisabledAlpha : m_utilityDisabledAlpha;
    const double alpha = ItemRowAppearance::contentAlpha(state, disabledAlpha);
    painter->setOpacity(alpha);
    painter->drawPixmap(frames.icon.toRect(), iconForItem(*item, selected));

    paintName(*painter, option, frames.name, content.name);
    if (state.isFileItem)
        paintDetail(*painter, option, frames.detail, content.detail,
                    ItemRowAppearance::detailAlpha(state, disabledAlpha, userDefaults().itemsListsSize()));

    painter->setFont(option.font);
    paintBadges(*painter, frames.badges, content);
    if (!m_actionButtonHidden)
        paintActionButton(*painter, frames.actionButton, actionIconForStartupMode(content.startupMode, selected));
    painter->restore();
}
