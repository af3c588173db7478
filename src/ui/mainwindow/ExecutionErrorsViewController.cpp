#include "ui/mainwindow/ExecutionErrorsViewController.h"

#include "foundation/Log.h"
#include "foundation/MHExecuteNotifications.h"
#include "foundation/Notification.h"
#include "model/DBFileItem.h"
#include "model/ObjectContext.h"
#include "texts/Localizator.h"
#include "ui/base/FileRevealer.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace N = MHExecuteNotifications;

ExecutionErrorsViewController::ExecutionErrorsViewController(QWidget* parent)
    : ViewControllerBase(false, parent)
    , m_executionErrors(new ExecutionErrorsModel(this))
    , m_revealer([](const QString& path) { return FileRevealer().revealPath(path); })
{
    setObjectName(QStringLiteral("executionErrors"));
}

void ExecutionErrorsViewController::awakeFromNib()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_errorsTableView = new QTableView(this);
    m_errorsTableView->setObjectName(QStringLiteral("errorsTableView"));
    m_errorsTableView->setAccessibleName(localizator().itemsPageText(Localizator::ItemsPageText::ErrorsList));
    m_errorsTableView->setModel(m_executionErrors);
    m_errorsTableView->setSelectionMode(QAbstractItemView::NoSelection);
    m_errorsTableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A message is read whole: it wraps, and its row grows to hold it.
    m_errorsTableView->setWordWrap(true);
    m_errorsTableView->setTextElideMode(Qt::ElideNone);
    m_errorsTableView->verticalHeader()->hide();
    m_errorsTableView->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_errorsTableView->horizontalHeader()->setSectionResizeMode(ExecutionErrorsModel::NameColumn, QHeaderView::Fixed);
    m_errorsTableView->horizontalHeader()->setSectionResizeMode(ExecutionErrorsModel::ErrorColumn, QHeaderView::Stretch);
    m_errorsTableView->horizontalHeader()->setSectionResizeMode(ExecutionErrorsModel::RevealColumn, QHeaderView::Fixed);
    m_errorsTableView->horizontalHeader()->resizeSection(ExecutionErrorsModel::RevealColumn, 28);
    m_errorsTableView->setMinimumSize(420, 160);
    connect(m_errorsTableView, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (index.column() == ExecutionErrorsModel::RevealColumn)
            selectItemInFinder(index.row());
    });
    layout->addWidget(m_errorsTableView);
    m_errorsTableView->viewport()->installEventFilter(this);
    connect(m_executionErrors, &QAbstractItemModel::rowsInserted, this, &ExecutionErrorsViewController::fitNameColumn);
}

void ExecutionErrorsViewController::fitNameColumn()
{
    // A long name wraps in at most two fifths of the width; the message keeps the rest.
    const int room = m_errorsTableView->viewport()->width() - m_errorsTableView->columnWidth(ExecutionErrorsModel::RevealColumn);
    const QAbstractItemView& view = *m_errorsTableView;
    m_errorsTableView->setColumnWidth(ExecutionErrorsModel::NameColumn,
                                      std::min(view.sizeHintForColumn(ExecutionErrorsModel::NameColumn), room * 2 / 5));
}

bool ExecutionErrorsViewController::eventFilter(QObject* watched, QEvent* event)
{
    if (m_errorsTableView && watched == m_errorsTableView->viewport() && event->type() == QEvent::Resize)
        fitNameColumn();
    return ViewControllerBase::eventFilter(watched, event);
}

ExecutionErrorRecord ExecutionErrorsViewController::errorDataFromUserInfo(const QVariantMap& userInfo) const
{
    ExecutionErrorRecord record;
    record.itemDisplayName = userInfo.value(N::itemDisplayName).toString();
    const QVariant error = userInfo.value(N::error);
    if (error.canConvert<Error>()) {
        record.error = error.value<Error>();
        record.errorMessage = record.error->description();
    }
    const ManagedObject* object = managedObjectContext()
        ? managedObjectContext()->objectWithID(userInfo.value(N::itemID).value<ObjectID>())
        : nullptr;
    if (const auto* item = dynamic_cast<const DBFileItem*>(object)) {
        record.itemIconName = item->itemIconName();
        record.itemPath = item->itemPath();
    }
    return record;
}

void ExecutionErrorsViewController::addExecutionErrorFromNotification(const Notification& notification)
{
    const ExecutionErrorRecord record = errorDataFromUserInfo(notification.userInfo);
    LOG_DEBUG("Adding execution error for item %1...", record.itemDisplayName);
    m_executionErrors->appendRecord(record);
}

void ExecutionErrorsViewController::resetExecutionErrors()
{
    LOG_DEBUG("Clearing execution errors...");
    m_executionErrors->removeAllRecords();
}

bool ExecutionErrorsViewController::selectItemInFinder(int row)
{
    const ExecutionErrorRecord* record = m_executionErrors->recordAt(row);
    if (!record || record->itemPath.isEmpty())
        return false;
    LOG_NORMAL("Selecting %1 in file manager...", record->itemDisplayName);
    return m_revealer && m_revealer(record->itemPath);
}
