#include "ui/views/LoginItemDelegate.h"

#include "foundation/UserDefaults.h"
#include "model/DBFileItem.h"
#include "model/DBStartupCondition.h"
#include "ui/icons/ColorFromRgba.h"
#include "ui/icons/IconsManager.h"
#include "ui/icons/LanternwickStyleKit.h"
#include "ui/views/BackgroundStyle.h"
#include "ui/views/ConditionBadgeLayout.h"
#include "ui/views/ItemRunStates.h"

#include <QFileInfo>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

LoginItemDelegate::LoginItemDelegate(ItemSource itemSource, const ItemRunStates& states, UserDefaults* userDefaults,
                                     QObject* parent)
    : QStyledItemDelegate(parent)
    , m_itemSource(std::move(itemSource))
    , m_states(states)
{
    setUserDefaults(userDefaults);
    const UserDefaults& settings = this->userDefaults();
    m_executingColor = colorFromRgba(settings.itemTableRowViewExecutingBackgroundColor());
    m_preventedColor = colorFromRgba(settings.itemTableRowViewExecutionPreventedBackgroundColor());
    m_alternateColor = colorFromRgba(settings.itemTableRowViewAlternateBackgroundColor());
    m_delimiterColor = colorFromRgba(settings.loginItemViewCellDelimiterColor());
    m_utilityInsideColor = colorFromRgba(settings.utilityRowViewInsideColor());
    m_utilityOutsideColor = colorFromRgba(settings.utilityRowViewOutsideColor());
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

QString LoginItemDelegate::singleLine(const QString& text)
{
    QString line = text;
    for (QChar& character : line) {
        if (character.category() == QChar::Other_Control || character.category() == QChar::Separator_Line
            || character.category() == QChar::Separator_Paragraph)
            character = QLatin1Char(' ');
    }
    return line;
}

QFont LoginItemDelegate::detailFont(const QFont& font) const
{
    QFont detail = font;
    detail.setPointSizeF(std::max(font.pointSizeF() - 2, 7.0));
    return detail;
}

QFont LoginItemDelegate::badgeFont(const QFont& font) const
{
    return detailFont(font);
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
    const QFontMetricsF nameMetrics(option.font);
    const QFontMetricsF detailMetrics(detailFont(option.font));
    ItemCellGeometry::Input input;
    input.cell = option.rect;
    input.isFileItem = item.loginItemType() == LoginItemTypeFile;
    input.listSize = userDefaults().itemsListsSize();
    input.stripProgress = m_stripProgress;
    input.nameWidth = nameMetrics.horizontalAdvance(singleLine(item.itemNiceDisplayName()));
    input.nameHeight = nameMetrics.height();
    if (input.isFileItem) {
        input.detailWidth = detailMetrics.horizontalAdvance(singleLine(item.itemNiceDescription()));
        input.detailHeight = detailMetrics.height();
    }
    return ItemCellGeometry::layout(input);
}

void LoginItemDelegate::paintRowBackground(QPainter& painter, const QStyleOptionViewItem& option,
                                           const ItemRowAppearance::State& state) const
{
    const QRect& rect = option.rect;
    const bool prevented = ItemRowAppearance::isDimmed(state);
    // The band of a utility row lies under the state's colour, so an executing delay shows it.
    if (!state.isFileItem && !prevented) {
        painter.fillRect(rect, m_utilityInsideColor);
        painter.setPen(m_utilityOutsideColor);
        painter.drawLine(rect.topLeft(), rect.topRight());
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    }
    switch (ItemRowAppearance::background(state)) {
    case ItemRowAppearance::Background::Executing:
        painter.fillRect(rect, m_executingColor);
        break;
    case ItemRowAppearance::Background::Prevented:
        painter.fillRect(rect, m_preventedColor);
        break;
    case ItemRowAppearance::Background::AlternateStripe:
        painter.fillRect(rect, m_alternateColor);
        break;
    case ItemRowAppearance::Background::None:
        break;
    }
    if (option.state & QStyle::State_Selected)
        painter.fillRect(rect, option.palette.brush(QPalette::Highlight));
    else if (state.isFileItem && !prevented) {
        QPen dashes(m_delimiterColor);
        dashes.setDashPattern({ 1, 1 });
        painter.setPen(dashes);
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    }
}

QPixmap LoginItemDelegate::iconForItem(const DBLoginItem& item, bool selected) const
{
    const int style = selected ? int(BackgroundStyle::Dark) : int(BackgroundStyle::Light);
    const IconsManager& icons = IconsManager::sharedInstance();
    switch (item.loginItemType()) {
    case LoginItemTypeFile: {
        const QString name = static_cast<const DBFileItem&>(item).itemIconName();
        const QIcon fallback = QIcon::fromTheme(QStringLiteral("application-x-executable"));
        // An icon given as a file is read only from a regular file.
        const QIcon icon = name.startsWith(QLatin1Char('/')) ? (QFileInfo(name).isFile() ? QIcon(name) : fallback)
                                                              : QIcon::fromTheme(name, fallback);
        return icon.pixmap(32);
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

QPixmap LoginItemDelegate::actionIconForItem(const DBLoginItem& item, bool selected) const
{
    const int style = selected ? int(BackgroundStyle::Dark) : int(BackgroundStyle::Light);
    const IconsManager& icons = IconsManager::sharedInstance();
    if (item.loginItemType() == LoginItemTypeFile) {
        switch (static_cast<const DBFileItem&>(item).itemStartupModeValue()) {
        case ItemStartupModeHidden:
            return icons.itemHiddenIcon().styled(style).image();
        case ItemStartupModeDisabled:
            return icons.itemDisabledIcon().styled(style).image();
        default:
            break;
        }
    }
    return icons.itemShownIcon().styled(style).image();
}

void LoginItemDelegate::paintBadges(QPainter& painter, const QRectF& strip, const DBLoginItem& item) const
{
    QList<DBStartupCondition*> conditions = item.itemStartupConditions();
    std::stable_sort(conditions.begin(), conditions.end(), [](const DBStartupCondition* a, const DBStartupCondition* b) {
        return a->conditionSortIndexValue() < b->conditionSortIndexValue();
    });
    if (conditions.isEmpty() || strip.width() <= 0)
        return;
    const UserDefaults& settings = userDefaults();
    const double padding = settings.startupConditionsListViewItemTextPadding();
    const QFont font = badgeFont(painter.font());
    const QFontMetricsF metrics(font);
    QList<double> widths;
    for (const DBStartupCondition* condition : conditions)
        widths.append(ConditionBadgeLayout::measuredWidth(metrics.horizontalAdvance(singleLine(condition->conditionName())), padding));
    const QList<ConditionBadgeLayout::Frame> frames = ConditionBadgeLayout::fit(
        widths, { strip.width(), settings.startupConditionsListViewItemSpacing(), settings.startupConditionsListViewMinItemWidth(),
                  settings.startupConditionsListViewMinWidthThreshold() });

    painter.setFont(font);
    for (qsizetype index = 0; index < conditions.size(); ++index) {
        const ConditionBadgeLayout::Frame& frame = frames[index];
        if (frame.isHidden())
            continue;
        BadgeColors colors = m_normalBadge;
        if (m_states.isStatusDisplayOn()) {
            if (const std::optional<bool> allowed = m_states.isConditionAllowed(conditions[index]->objectID()))
                colors = *allowed ? m_allowBadge : m_preventBadge;
        }
        const QRectF badge(strip.left() + frame.x, strip.top(), frame.width, strip.height());
        LanternwickStyleKit::drawStartupConditionWithFrame(painter, badge, colors.background, colors.border);
        const QRectF text = badge.adjusted(padding, 0, -padding, 0);
        painter.setPen(colors.text);
        painter.drawText(text, Qt::AlignCenter,
                         metrics.elidedText(singleLine(conditions[index]->conditionName()), Qt::ElideRight, std::max(text.width(), 0.0)));
    }
}

void LoginItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const DBLoginItem* item = m_itemSource(index);
    if (!item) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const bool isFile = item->loginItemType() == LoginItemTypeFile;
    const bool selected = option.state & QStyle::State_Selected;
    const ItemRowAppearance::State state = m_states.appearanceState(item->objectID(), isFile, index.row());
    const ItemCellGeometry::Frames frames = framesForRow(option, *item);

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

    const double disabledAlpha = isFile ? m_fileDisabledAlpha : m_utilityDisabledAlpha;
    const double alpha = ItemRowAppearance::contentAlpha(state, disabledAlpha);
    painter->setOpacity(alpha);
    painter->drawPixmap(frames.icon.toRect(), iconForItem(*item, selected));

    const QPalette::ColorRole textRole = selected ? QPalette::HighlightedText : QPalette::Text;
    painter->setFont(option.font);
    painter->setPen(option.palette.color(textRole));
    const QFontMetricsF nameMetrics(option.font);
    painter->drawText(frames.name, Qt::AlignLeft | Qt::AlignVCenter,
                      nameMetrics.elidedText(singleLine(item->itemNiceDisplayName()), Qt::ElideRight, frames.name.width()));

    if (isFile) {
        const double detailAlpha = ItemRowAppearance::detailAlpha(state, disabledAlpha, userDefaults().itemsListsSize());
        if (detailAlpha > 0) {
            const QFont font = detailFont(option.font);
            painter->setOpacity(detailAlpha);
            painter->setFont(font);
            painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::PlaceholderText));
            painter->drawText(frames.detail, Qt::AlignLeft | Qt::AlignVCenter,
                              QFontMetricsF(font).elidedText(singleLine(item->itemNiceDescription()), Qt::ElideRight, frames.detail.width()));
            painter->setOpacity(alpha);
        }
    }

    painter->setFont(option.font);
    paintBadges(*painter, frames.badges, *item);
    const QRectF button = frames.actionButton;
    const QRectF glyph(button.center() - QPointF(8, 8), QSizeF(16, 16));
    painter->drawPixmap(glyph.toRect(), actionIconForItem(*item, selected));
    painter->restore();
}

bool LoginItemDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                    const QModelIndex& index)
{
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease)
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const DBLoginItem* item = m_itemSource(index);
    if (!item || mouse->button() != Qt::LeftButton)
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    const QRect button = framesForRow(option, *item).actionButton.toRect();
    if (!button.contains(mouse->position().toPoint()))
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    // The button's click does not select the row.
    if (event->type() == QEvent::MouseButtonRelease)
        Q_EMIT actionButtonClicked(index, button);
    return true;
}
