#pragma once
// Paints the rows of the new entries of the session's login items list like
// file rows of the items page: the alternate stripe, the icon, the name
// (plain text, one line), the description under it in full rows, and the
// action button with the item-shown glyph, whose click is reported.
//
// The rows come from the model's roles: DisplayRole the name,
// DecorationRole the icon, DescriptionRole the detail line.
#include "ui/views/ItemRowDelegateBase.h"

class SystemItemDelegate : public ItemRowDelegateBase {
    Q_OBJECT
public:
    static constexpr int DescriptionRole = Qt::UserRole + 1;

    // userDefaults: the settings to read (null: the shared ones).
    explicit SystemItemDelegate(UserDefaults* userDefaults = nullptr, QObject* parent = nullptr);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Where the parts of a row go, for painting and hit testing.
    ItemCellGeometry::Frames framesForRow(const QStyleOptionViewItem& option, const QModelIndex& index) const;

protected:
    std::optional<QRect> actionButtonRect(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
