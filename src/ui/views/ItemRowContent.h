#pragma once
// What an item row shows, gathered in one place from the item and the run
// states: the delegate paints it and the list model reads it out to screen
// readers, so that what is heard is what is seen.
#include "ui/views/ItemRowAppearance.h"

#include <QList>
#include <QString>
#include <optional>

class DBLoginItem;
class ItemRunStates;
class Localizator;

class ItemRowContent {
public:
    struct Condition {
        QString name;
        // How it was judged while the status display is on; nothing otherwise.
        std::optional<bool> allowed;
    };

    // The row of item at row (which tells the alternate stripe).
    static ItemRowContent ofItem(const DBLoginItem& item, const ItemRunStates& states, int row);

    // What a screen reader says of the row, in reading order: the name; the
    // detail line; the startup mode unless shown; the conditions, with their
    // answers while the status display is on; whether the item would start
    // and, if not, why. Never the same text twice.
    QString spokenText(const Localizator& texts) const;

    QString name;
    // The second line of a file row: its description, or that it is missing.
    QString detail;
    // An ItemStartupMode value; utility items count as shown.
    int startupMode = 0;
    // In their order.
    QList<Condition> conditions;
    ItemRowAppearance::State state;
};
