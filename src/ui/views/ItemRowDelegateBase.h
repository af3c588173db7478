#pragma once
// What the delegates of item rows share: the row's background (the state's
// colour, the alternate stripe, the selection, the dotted delimiter), the
// name and the detail line, each on one line in its font, and the action
// button at the right edge. A click on the button, or Return, Enter or Space
// on the current row of a view given to reportActionKeys, is reported; the
// rest of the row belongs to the view.
//
// Colours come from the settings, read once per delegate.
#include "texts/LanternwickObject.h"
#include "ui/views/ItemCellGeometry.h"
#include "ui/views/ItemRowAppearance.h"

#include <QColor>
#include <QPixmap>
#include <QPointer>
#include <QStyledItemDelegate>
#include <optional>

class QAbstractItemView;

class ItemRowDelegateBase : public QStyledItemDelegate, public LanternwickObject {
    Q_OBJECT
public:
    // A name or detail text on one line: line breaks and tabs become spaces.
    static QString singleLine(const QString& text);
    static QFont detailFont(const QFont& font);

    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
    // The keyboard's way to the action button of view's current row.
    void reportActionKeys(QAbstractItemView* view);

Q_SIGNALS:
    void actionButtonClicked(const QModelIndex& index, const QRect& buttonRect);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

    // userDefaults: the settings to read (null: the shared ones).
    explicit ItemRowDelegateBase(UserDefaults* userDefaults, QObject* parent = nullptr);

    // Where the row's action button is; nothing for a row that has none.
    virtual std::optional<QRect> actionButtonRect(const QStyleOptionViewItem& option, const QModelIndex& index) const = 0;

    // The frames of a row showing name and detail (the detail is measured
    // for file rows only) in the current list size.
    ItemCellGeometry::Frames rowFrames(const QStyleOptionViewItem& option, const QString& name, const QString& detail, bool isFileItem,
                                       double stripProgress) const;
    void paintRowBackground(QPainter& painter, const QStyleOptionViewItem& option, const ItemRowAppearance::State& state) const;
    static void paintName(QPainter& painter, const QStyleOptionViewItem& option, const QRectF& frame, const QString& name);
    // At opacity alpha, nothing at 0; the painter's opacity stays.
    static void paintDetail(QPainter& painter, const QStyleOptionViewItem& option, const QRectF& frame, const QString& detail,
                            double alpha);
    static void paintActionButton(QPainter& painter, const QRectF& button, const QPixmap& glyph);

    QColor m_executingColor;
    QColor m_preventedColor;
    QColor m_alternateColor;
    QColor m_delimiterColor;
    QColor m_utilityInsideColor;
    QColor m_utilityOutsideColor;

private:
    QPointer<QAbstractItemView> m_keysView;
};
