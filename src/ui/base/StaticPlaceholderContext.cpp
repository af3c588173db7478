#include "ui/base/StaticPlaceholderContext.h"

#include "foundation/Log.h"

#include <QVBoxLayout>

void StaticPlaceholderContext::replaceViewControllerWith(ViewControllerBase* controller)
{
    PlaceholderControllerContext::replaceViewControllerWith(
        controller, [this](QWidget* placeholder, QWidget* outgoing, QWidget* incoming) {
            if (!placeholder->layout()) {
                auto* layout = new QVBoxLayout(placeholder);
                layout->setContentsMargins(0, 0, 0, 0);
                layout->setSpacing(0);
            }
            if (outgoing) {
                LOG_DEBUG("Removing current view...");
                placeholder->layout()->removeWidget(outgoing);
                removeView(outgoing);
            }
            if (incoming) {
                LOG_DEBUG("Adding new view...");
                addView(incoming);
                placeholder->layout()->addWidget(incoming);
            }
        });
}
