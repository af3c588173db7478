#pragma once
// What a screen reader reads of a CreditsView: a text named by its
// accessible name ("Credits"), whose whole text is on the bus while it
// scrolls by on the screen. Qt's own interface reads a painted view as an
// empty one.
#include "ui/views/ValueTextAccessible.h"

class CreditsView;

class CreditsViewAccessible : public ValueTextAccessible {
public:
    explicit CreditsViewAccessible(CreditsView* view);

    // Makes the interface the one of every CreditsView.
    static void install();

    QString valueText() const override;
};
