#include "ui/inspector/ItemInspectorViewController.h"

#include "engine/ModelObjectHelping.h"
#include "foundation/Log.h"
#include "foundation/UserDefaults.h"
#include "model/DBFileItem.h"
#include "model/DBLoginItem.h"
#include "model/ObjectContext.h"
#include "shell/ApplicationHelpers.h"
#include "shell/ModelEditing.h"
#include "ui/inspector/ConditionalPreviousItemInfoViewController.h"
#include "ui/inspector/DelayItemInfoViewController.h"
#include "ui/inspector/FileItemInfoViewController.h"
#include "ui/inspector/RepresentedObject.h"
#include "ui/inspector/WaitPreviousItemInfoViewController.h"
#include "ui/icons/IconsManager.h"
#include "ui/views/HorizontalDelimiterView.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kMinimumViewHeight = 350;
constexpr int kMaximumViewWidth = 560;
constexpr int kDefaultModeImageSide = 16;
constexpr int kDelimiterHeight = 5;

template <typename Header>
Header& loadedHeader(std::unique_ptr<Header>& header, const CommonObjectsHolder& parent)
{
    if (!header) {
        header = std::make_unique<Header>();
        parent.copyCommonObjectsToViewController(*header);
        header->loadView();
    }
    return *header;
}

} // namespace


ItemInspectorViewController::ItemInspectorViewController()
    : ViewControllerBase(true)
    , m_conditionsTableController(std::make_unique<StartupConditionsTableController>())
{
    setObjectName(QStringLiteral("itemInspectorView"));
    connect(m_conditionsTableController.get(), &StartupConditionsTableController::showGeneralPreferencesRequested, this,
            &ItemInspectorViewController::showGeneralPreferencesRequested);
}

ItemInspectorViewController::~ItemInspectorViewController()
{
    QObject::disconnect(m_resetObservation);
}

QSize ItemInspectorViewController::sizeHint() const
{
    // Long names and paths elide or wrap rather than widen the window.
    const QSize hint = ViewControllerBase::sizeHint().boundedTo(QSize(kMaximumViewWidth, QWIDGETSIZE_MAX));
    return m_viewHeight > 0 ? QSize(hint.width(), m_viewHeight) : hint;
}

// --- Setting up -------------------------------------------------------------------

void ItemInspectorViewController::awakeFromNib()
{
    const float setting = userDefaults().itemInspectorViewHeight();
    m_viewHeight = static_cast<int>(std::lround(std::isfinite(setting) && setting > kMinimumViewHeight ? setting : kMinimumViewHeight));
    buildViews();
    resize(width(), m_viewHeight);
    m_resetObservation = connect(managedObjectContext(), &ObjectContext::willReset, this, &ItemInspectorViewController::forgetAllConditions);
    // An item given before the view existed.
    representedObjectChangedFrom(QVariant(), representedObject());
}

void ItemInspectorViewController::buildViews()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_placeholderView = new QWidget(this);
    m_placeholderView->setObjectName(QStringLiteral("placeholderView"));
    m_placeholderContext = std::make_unique<StaticPlaceholderContext>(m_placeholderView);
    layout->addWidget(m_placeholderView);

    // One choice of three: a radio group read by one name.
    auto* modeGroup = new QGroupBox(this);
    modeGroup->setFlat(true);
    m_itemStartupModeView = modeGroup;
    m_itemStartupModeView->setObjectName(QStringLiteral("itemStartupModeView"));
    m_itemStartupModeView->setAccessibleName(tr("Startup mode"));
    auto* modeLayout = new QHBoxLayout(m_itemStartupModeView);
    modeLayout->setContentsMargins(12, 4, 12, 4);
    auto* modeLabel = new QLabel(tr("Startup mode:"), m_itemStartupModeView);
    modeLabel->setObjectName(QStringLiteral("itemStartupModeLabel"));
    modeLayout->addWidget(modeLabel);
    m_startupModeButtons = new QButtonGroup(this);
    const IconsManager& icons = IconsManager::sharedInstance();
    const struct {
        int mode;
        QString title;
        IconBuilder icon;
    } modes[] { { ItemStartupModeShown, tr("Shown"), icons.itemShownIcon() },
                { ItemStartupModeHidden, tr("Hidden"), icons.itemHiddenIcon() },
                { ItemStartupModeDisabled, tr("Disabled"), icons.itemDisabledIcon() } };
    const float imageSetting = userDefaults().itemInspectorViewItemStartupModeImageSize();
    const int imageSide = std::isfinite(imageSetting) && imageSetting >= 1 ? static_cast<int>(std::lround(imageSetting)) : kDefaultModeImageSide;
    for (const auto& [mode, title, icon] : modes) {
        auto* button = new QRadioButton(title, m_itemStartupModeView);
        button->setObjectName(QStringLiteral("itemStartupModeButton%1").arg(mode));
        button->setAccessibleName(title);
        button->setIcon(QIcon(icon.image()));
        button->setIconSize(QSize(imageSide, imageSide));
        m_startupModeButtons->addButton(button, mode);
        modeLayout->addWidget(button);
    }
    modeLayout->addStretch(1);
    connect(m_startupModeButtons, &QButtonGroup::idToggled, this, [this](int mode, bool checked) {
        if (checked)
            setRepresentedItemStartupMode(mode);
    });
    layout->addWidget(m_itemStartupModeView);

    auto* delimiter = new HorizontalDelimiterView(this);
    delimiter->setObjectName(QStringLiteral("startupConditionsDelimiterView"));
    delimiter->setFixedHeight(kDelimiterHeight);
    layout->addWidget(delimiter);

    m_conditionsTableController->setCommonObjects(commonObjects());
    m_conditionsTableController->setLocalizator(&localizator());
    m_conditionsTableController->setUserDefaults(&userDefaults());
    m_conditionsTableController->loadViews(*this);
    layout->addWidget(m_conditionsTableController->tableView(), 1);
    layout->addWidget(m_conditionsTableController->actionsView());
}

// --- The shown item -----------------------------------------------------------------

DBLoginItem* ItemInspectorViewController::representedItem() const
{
    return RepresentedObject::liveObjectAs<DBLoginItem>(representedObject());
}

DBFileItem* ItemInspectorViewController::representedFileItem() const
{
    return dynamic_cast<DBFileItem*>(representedItem());
}

void ItemInspectorViewController::representedObjectChangedFrom(const QVariant&, const QVariant& current)
{
    m_itemStartupModeObservation.reset();
    if (!isViewLoaded())
        return;
    DBLoginItem* item = representedItem();
    ItemInfoViewControllerBase* header = item ? infoViewControllerForItem(*item) : nullptr;
    ItemInfoViewControllerBase* previousHeader = currentInfoViewController();
    if (header)
        header->setRepresentedObject(current);
    // A header put aside lets go of its item.
    if (previousHeader && previousHeader != header)
        previousHeader->setRepresentedObject(QVariant());
    if (representedFileItem())
        m_itemStartupModeObservation = item->addObserver(QStringLiteral("itemStartupMode"), [this](ManagedObject*, const KeyValueChange&) {
            if (!isUpdatingModelFromView())
                updateItemStartupModeControls();
        });
    updateItemStartupModeControls();
    m_conditionsTableController->setRepresentedObject(current);
    m_placeholderContext->replaceViewControllerWith(header);
    // The header's height replaces the previous one's rather than adding to
    // it, and never cuts into the header's own controls.
    const std::optional<int> height = header ? header->additionalLayoutConstraints() : std::nullopt;
    if (height) {
        m_placeholderView->setFixedHeight(std::max(*height, header->sizeHint().height()));
    } else {
        m_placeholderView->setMinimumHeight(0);
        m_placeholderView->setMaximumHeight(QWIDGETSIZE_MAX);
    }
}

ItemInfoViewControllerBase* ItemInspectorViewController::currentInfoViewController() const
{
    return m_placeholderContext ? static_cast<ItemInfoViewControllerBase*>(m_placeholderContext->currentViewController()) : nullptr;
}

ItemInfoViewControllerBase* ItemInspectorViewController::infoViewControllerForItem(const DBLoginItem& item)
{
    switch (modelObjectHelpers()->typeOfLoginItem(&item)) {
    case LoginItemTypeFile:
        return &fileItemInfoViewController();
    case LoginItemTypeDelay:
        return &delayItemInfoViewController();
    case LoginItemTypeWaitPrevious:
        return &waitPreviousItemInfoViewController();
    case LoginItemTypeConditionalPrevious:
        return &conditionalPreviousItemInfoViewController();
    }
    return nullptr;
}

FileItemInfoViewController& ItemInspectorViewController::fileItemInfoViewController()
{
    return loadedHeader(m_fileItemInfoViewController, *this);
}

DelayItemInfoViewController& ItemInspectorViewController::delayItemInfoViewController()
{
    return loadedHeader(m_delayItemInfoViewController, *this);
}

WaitPreviousItemInfoViewController& ItemInspectorViewController::waitPreviousItemInfoViewController()
{
    return loadedHeader(m_waitPreviousItemInfoViewController, *this);
}

ConditionalPreviousItemInfoViewController& ItemInspectorViewController::conditionalPreviousItemInfoViewController()
{
    return loadedHeader(m_conditionalPreviousItemInfoViewController, *this);
}

// --- Startup mode -------------------------------------------------------------------

void ItemInspectorViewController::setRepresentedItemStartupMode(int mode)
{
    if (mode == m_representedItemStartupMode)
        return;
    m_representedItemStartupMode = mode;
    if (QAbstractButton* button = m_startupModeButtons ? m_startupModeButtons->button(mode) : nullptr)
        button->setChecked(true);
    if (isUpdatingModelFromView())
        return;
    DBFileItem* file = representedFileItem();
    if (!file)
        return;
    LOG_NORMAL("Changing startup mode of %1 to %2...", file, mode);
    if (editing()->setFileItemStartupMode(file, mode))
        save();
    updateItemStartupModeControls();
}

void ItemInspectorViewController::updateItemStartupModeControls()
{
    const bool wasUpdating = isUpdatingModelFromView();
    setIsUpdatingModelFromView(true);
    const DBFileItem* file = representedFileItem();
    setRepresentedItemStartupMode(file ? file->itemStartupModeValue() : ItemStartupModeShown);
    if (QAbstractButton* button = m_startupModeButtons->button(m_representedItemStartupMode))
        button->setChecked(true);
    m_isStartupModeViewEnabled = file != nullptr;
    m_itemStartupModeView->setEnabled(m_isStartupModeViewEnabled);
    setIsUpdatingModelFromView(wasUpdating);
}

// --- Commands ------------------------------------------------------------------------

bool ItemInspectorViewController::respondsToCommand(const QString& command) const
{
    return m_conditionsTableController->respondsToCommand(command);
}

bool ItemInspectorViewController::validateCommand(const QString& command, QAction& item)
{
    return m_conditionsTableController->validateCommand(command, item);
}

void ItemInspectorViewController::performCommand(const QString& command)
{
    m_conditionsTableController->performCommand(command);
}

void ItemInspectorViewController::changeToLaunchSimulationMode(bool active)
{
    ViewControllerBase::changeToLaunchSimulationMode(active);
    m_conditionsTableController->changeToLaunchSimulationMode(active);
}

// --- The database going away ----------------------------------------------------------------

void ItemInspectorViewController::forgetAllConditions()
{
    LOG_DEBUG("Forgetting every condition and the shown item before the database resets...");
    setRepresentedObject(QVariant());
    m_conditionsTableController->forgetAllConditions();
}

void ItemInspectorViewController::save()
{
    helpers()->saveDataToDiskUsingChangeBackup(true);
}
