#pragma once
// Base of the headers at the top of the item inspector, one per kind of
// item. The represented object is the shown item.
#include "ui/base/ViewControllerBase.h"

#include <optional>

class IconBuilder;
class QLabel;

class ItemInfoViewControllerBase : public ViewControllerBase {
    Q_OBJECT
public:
    using ViewControllerBase::ViewControllerBase;

    // The height the header needs from the inspector's placeholder, or
    // nothing when the header's own size hint is right.
    virtual std::optional<int> additionalLayoutConstraints() const { return std::nullopt; }

protected:
    // The setting shared by the headers of a fixed height.
    std::optional<int> defaultItemInfoHeight() const;
    // The kind's symbol at the left of the header.
    QLabel* makeIconView(const IconBuilder& icon);
};
