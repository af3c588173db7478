#include "ui/inspector/FileItemInfoViewController.h"

#include "engine/SystemItemData.h"
#include "foundation/Log.h"
#include "foundation/UserDefaults.h"
#include "keelhouse/KeptDesktopEntries.h"
#include "model/DBFileItem.h"
#include "ui/inspector/FilePreviewView.h"
#include "ui/inspector/PathControlView.h"
#include "ui/inspector/RepresentedObject.h"
#include "ui/views/ElidingLabel.h"

#include <QGridLayout>
#include <QLabel>

namespace {

constexpr int kPreviewSide = 48;

QLabel* plainLabel(QWidget* parent, const QString& name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

FileItemInfoViewController::FileItemInfoViewController()
{
    setObjectName(QStringLiteral("fileItemInfoView"));
}

FileItemInfoViewController::~FileItemInfoViewController() = default;

void FileItemInfoViewController::awakeFromNib()
{
    m_iconPreviewView = new FilePreviewView(this);
    m_iconPreviewView->setAccessibleName(tr("Preview"));
    m_itemDisplayNameView = new ElidingLabel(this);
    m_itemDisplayNameView->setObjectName(QStringLiteral("itemDisplayNameView"));
    QFont bold = m_itemDisplayNameView->font();
    bold.setBold(true);
    m_itemDisplayNameView->setFont(bold);
    m_itemCommandView = new ElidingLabel(this);
    m_itemCommandView->setObjectName(QStringLiteral("itemCommandView"));
    m_itemCommandView->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_itemDetailsView = plainLabel(this, QStringLiteral("itemDetailsView"));
    m_itemDetailsView->setWordWrap(true);
    m_itemPathView = new PathControlView(this);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setHorizontalSpacing(12);
    layout->addWidget(m_iconPreviewView, 0, 0, 4, 1, Qt::AlignTop);
    layout->addWidget(m_itemDisplayNameView, 0, 1);
    layout->addWidget(m_itemCommandView, 1, 1);
    layout->addWidget(m_itemDetailsView, 2, 1);
    layout->addWidget(m_itemPathView, 3, 1);
    layout->setColumnStretch(1, 1);

    connect(m_itemPathView, &PathControlView::componentDoubleClicked, this, &FileItemInfoViewController::revealPathInFinder);
    updateViews();
}

void FileItemInfoViewController::setRepresentedObject(const QVariant& object)
{
    SystemItemData shown;
    if (const auto* file = RepresentedObject::liveObjectAs<DBFileItem>(object))
        shown = SystemItemData(*file);
    else if (object.canConvert<SystemItemData>())
        shown = object.value<SystemItemData>();
    m_itemPath = shown.itemPath();
    m_shownPath = m_itemPath;
    m_command.clear();
    // A desktop entry, or our copy of the session entry the user took over:
    // what it runs, and where the entry was.
    const std::optional<KeptDesktopEntries::KeptEntry> entry =
        m_itemPath.endsWith(QLatin1String(".desktop")) ? KeptDesktopEntries::keptEntry(m_itemPath) : std::nullopt;
    if (const std::optional<DesktopEntryFile> file = entry ? DesktopEntryFile::fromData(entry->data) : std::nullopt) {
        m_command = file->string(QStringLiteral("Exec"));
        if (!entry->originPath.isEmpty())
            m_shownPath = entry->originPath;
    }
    m_displayName = shown.itemNiceDisplayName();
    m_details = shown.itemNiceDescription();
    m_iconName = shown.itemIconName();
    ViewControllerBase::setRepresentedObject(object);
    updateViews();
}

void FileItemInfoViewController::updateViews()
{
    if (!isViewLoaded())
        return;
    m_iconPreviewView->setPreviewItem(m_itemPath, m_iconName, kPreviewSide);
    m_itemDisplayNameView->setFullText(m_displayName);
    m_itemCommandView->setFullText(m_command);
    m_itemCommandView->setVisible(!m_command.isEmpty());
    m_itemDetailsView->setText(m_details);
    m_itemDetailsView->setAccessibleName(m_details);
    m_itemPathView->setPath(m_shownPath);
}

bool FileItemInfoViewController::revealPathInFinder(const QString& componentPath)
{
    if (!userDefaults().isDoubleClickToShowPathsEnabled()) {
        LOG_WARN("Double click to reveal path in file manager is disabled.");
        return false;
    }
    return m_revealer.revealPath(componentPath);
}
