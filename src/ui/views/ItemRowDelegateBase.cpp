#include "ui/views/ItemRowDelegateBase.h"

#include "foundation/UserDefaults.h"
#include "ui/icons/ColorFromRgba.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

ItemRowDelegateBase::ItemRowDelegateBase(UserDefaults* userDefaults, QObject* parent)
    : QStyledItemDelegate(parent)
{
    setUserDefaults(userDefaults);
    const UserDefaults& settings = this->userDefaults();
    m_executingColor = colorFromRgba(settings.itemTableRowViewExecutingBackgroundColor());
    m_preventedColor = colorFromRgba(settings.itemTableRowViewExecutionPreventedBackgroundColor());
    m_alternateColor = colorFromRgba(settings.itemTableRowViewAlternateBackgroundColor());
    m_delimiterColor = colorFromRgba(settings.loginItemViewCellDelimiterColor());
    m_utilityInsideColor = colorFromRgba(settings.utilityRowViewInsideColor());
    m_utilityOutsideColor = colorFromRgba(settings.utilityRowViewOutsideColor());
}

QString ItemRowDelegateBase::singleLine(const QString& text)
{
    QString line = text;
    for (QChar& character : line) {
        if (character.category() == QChar::Other_Control || character.category() == QChar::Separator_Line
            || character.category() == QChar::Separator_Paragraph)
            character = QLatin1Char(' ');
    }
    return line;
}

QFont ItemRowDelegateBase::detailFont(const QFont& font)
{
    QFont detail = font;
    detail.setPointSizeF(std::max(font.pointSizeF() - 2, 7.0));
    return detail;
}

ItemCellGeometry::Frames ItemRowDelegateBase::rowFrames(const QStyleOptionViewItem& option, const QString& name, const QString& detail,
                                                        bool isFileItem, double stripProgress) const
{
    const QFontMetricsF nameMetrics(option.font);
    const QFontMetricsF detailMetrics(detailFont(option.font));
    ItemCellGeometry::Input input;
    input.cell = option.rect;
    input.isFileItem = isFileItem;
    input.listSize = userDefaults().itemsListsSize();
    input.stripProgress = stripProgress;
    input.nameWidth = nameMetrics.horizontalAdvance(singleLine(name));
    input.nameHeight = nameMetrics.height();
    if (isFileItem) {
        input.detailWidth = detailMetrics.horizontalAdvance(singleLine(detail));
        input.detailHeight = detailMetrics.height();
    }
    return ItemCellGeometry::layout(input);
}

void ItemRowDelegateBase::paintRowBackground(QPainter& painter, const QStyleOptionViewItem& option,
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
    // The row the keys act on, while the list has the keyboard.
    if (option.state & QStyle::State_HasFocus) {
        const bool selected = option.state & QStyle::State_Selected;
        painter.save();
        painter.setPen(QPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect).adjusted(1, 1, -1, -1));
        painter.restore();
    }
}

void ItemRowDelegateBase::paintName(QPainter& painter, const QStyleOptionViewItem& option, const QRectF& frame, const QString& name)
{
    const bool selected = option.state & QStyle::State_Selected;
    painter.setFont(option.font);
    painter.setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter.drawText(frame, Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetricsF(option.font).elidedText(singleLine(name), Qt::ElideRight, frame.width()));
}

void ItemRowDelegateBase::paintDetail(QPainter& painter, const QStyleOptionViewItem& option, const QRectF& frame, const QString& detail,
                                      double alpha)
{
    if (alpha <= 0)
        return;
    const bool selected = option.state & QStyle::State_Selected;
    const QFont font = detailFont(option.font);
    const double opacity = painter.opacity();
    painter.setOpacity(alpha);
    painter.setFont(font);
    painter.setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::PlaceholderText));
    painter.drawText(frame, Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetricsF(font).elidedText(singleLine(detail), Qt::ElideRight, frame.width()));
    painter.setOpacity(opacity);
    painter.setFont(option.font);
}

void ItemRowDelegateBase::paintActionButton(QPainter& painter, const QRectF& button, const QPixmap& glyph)
{
    const QRectF frame(button.center() - QPointF(8, 8), QSizeF(16, 16));
    painter.drawPixmap(frame.toRect(), glyph);
}

bool ItemRowDelegateBase::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                      const QModelIndex& index)
{
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease)
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const std::optional<QRect> button = mouse->button() == Qt::LeftButton ? actionButtonRect(option, index) : std::nullopt;
    if (!button || !button->contains(mouse->position().toPoint()))
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    // The button's click does not select the row.
    if (event->type() == QEvent::MouseButtonRelease)
        Q_EMIT actionButtonClicked(index, *button);
    return true;
}

void ItemRowDelegateBase::reportActionKeys(QAbstractItemView* view)
{
    m_keysView = view;
    view->installEventFilter(this);
}

bool ItemRowDelegateBase::eventFilter(QObject* watched, QEvent* event)
{
    // The view is no editor: only its key presses are this filter's.
    if (watched != m_keysView)
        return QStyledItemDelegate::eventFilter(watched, event);
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool actionKey = key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier;
    if (!actionKey || (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter && key->key() != Qt::Key_Space))
        return false;
    // The current row when it is selected, else the first selected one.
    const QModelIndexList selected = m_keysView->selectionModel()->selectedIndexes();
    QModelIndex current = m_keysView->currentIndex();
    if (!selected.contains(current))
        current = selected.value(0);
    if (!current.isValid())
        return false;
    QStyleOptionViewItem option;
    option.initFrom(m_keysView);
    option.rect = m_keysView->visualRect(current);
    const std::optional<QRect> button = actionButtonRect(option, current);
    if (!button)
        return false;
    Q_EMIT actionButtonClicked(current, *button);
    return true;
}
