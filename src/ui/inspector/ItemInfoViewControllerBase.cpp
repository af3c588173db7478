#include "ui/inspector/ItemInfoViewControllerBase.h"

#include "foundation/UserDefaults.h"
#include "ui/icons/IconBuilder.h"

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

QLabel* ItemInfoViewControllerBase::makeIconView(const IconBuilder& icon)
{
    auto* view = new QLabel(this);
    view->setObjectName(QStringLiteral("iconView"));
    view->setFixedSize(kIconSide, kIconSide);
    view->setAlignment(Qt::AlignCenter);
    view->setPixmap(icon.image());
    return view;
}
