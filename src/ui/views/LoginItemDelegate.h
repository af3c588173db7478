#pragma once
// Paints the rows of an item list: the state of the row (executing, would
// not run, alternate stripe), the status strip at its left edge while the
// status display is on, the icon or the glyph of the item's kind, its name
// (plain text, one line), a detail line in full rows, the condition badges
// fitted into the room left, and the action button, whose glyph tells a file
// item's startup mode.
//
// Colours and sizes come from the settings, read once per delegate.
#include "model/ObjectID.h"
#include "ui/views/ItemRowDelegateBase.h"

#include <QVariantAnimation>
#include <functional>

class DBLoginItem;
class ItemRowContent;
class ItemRunStates;

class LoginItemDelegate : public ItemRowDelegateBase {
    Q_OBJECT
public:
    // The item of a row, or null.
    using ItemSource = std::function<DBLoginItem*(const QModelIndex& index)>;
    static constexpr int StripAnimationMs = 400;

    // states must outlive the delegate. userDefaults: the settings to read
    // (null: the shared ones).
    LoginItemDelegate(ItemSource itemSource, const ItemRunStates& states, UserDefaults* userDefaults = nullptr,
                      QObject* parent = nullptr);

    // Slides the status strip in or out; without animation at once.
    void setStatusDisplayOn(bool on, bool animated);
    double stripProgress() const { return m_stripProgress; }
    // Lists whose rows have nothing to open hide the button: it is neither
    // painted nor clickable.
    void setActionButtonHidden(bool hidden) { m_actionButtonHidden = hidden; }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Where the parts of a row go, for painting and hit testing.
    ItemCellGeometry::Frames framesForRow(const QStyleOptionViewItem& option, const DBLoginItem& item) const;

Q_SIGNALS:
    // The strip moved: the rows are to be painted again.
    void repaintNeeded();

protected:
    std::optional<QRect> actionButtonRect(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    struct BadgeColors {
        QColor text;
        QColor border;
        QColor background;
    };

    ItemCellGeometry::Frames framesForContent(const QStyleOptionViewItem& option, const ItemRowContent& content) const;
    void paintBadges(QPainter& painter, const QRectF& strip, const ItemRowContent& content) const;
    QPixmap iconForItem(const DBLoginItem& item, bool selected) const;
    static QPixmap actionIconForStartupMode(int startupMode, bool selected);
    static QFont badgeFont(const QFont& font) { return detailFont(font); }

    const ItemSource m_itemSource;
    const ItemRunStates& m_states;
    double m_stripProgress = 0;
    bool m_actionButtonHidden = false;
    QVariantAnimation m_stripAnimation;

    QColor m_stripPreventedColor;
    double m_fileDisabledAlpha = 1;
    double m_utilityDisabledAlpha = 1;
    BadgeColors m_normalBadge;
    BadgeColors m_allowBadge;
    BadgeColors m_preventBadge;
};
