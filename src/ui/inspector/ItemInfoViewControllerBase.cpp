#include "ui/inspector/ItemInfoViewControllerBase.h"

#include "foundation/UserDefaults.h"

#include <QLabel>
#include <cmath>

namespace {

constexpr int kIconSide = 48;

} // namespace

std::optional<int> ItemInfoViewControllerBase::defaultItemInfoHeight() const
{
    const float height = userDefaults().itemInspectorDefaultItemInfoHeight();
    if (!std::isfinite(height) || height <= 0)
        return std::nullopt;
    return static_cast<int>(std::lround(height));
}

QLabel* ItemInfoViewControllerBase::makeIconView()
{
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("iconView"));
    icon->setFixedSize(kIconSide, kIconSide);
    icon->setAlignment(Qt::AlignCenter);
    return icon;
}
