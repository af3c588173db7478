#pragma once
// The header of a file item, and of an item of the session's login items
// list: the file's preview, its name, the command a desktop entry runs, its
// description and its path as a breadcrumb, where a double click shows that
// folder or file in the file manager. For Lanternwick's copy of a session
// entry, the path is the entry the user took over. The represented object is
// a file item (ManagedObject*) or a SystemItemData.
#include "ui/base/FileRevealer.h"
#include "ui/inspector/ItemInfoViewControllerBase.h"

class FilePreviewView;
class PathControlView;
class ElidingLabel;
class QLabel;

class FileItemInfoViewController : public ItemInfoViewControllerBase {
    Q_OBJECT
public:
    FileItemInfoViewController();
    ~FileItemInfoViewController() override;

    void setRepresentedObject(const QVariant& object) override;
    // Empty when nothing with a path is shown.
    QString itemPath() const { return m_itemPath; }

    FilePreviewView* iconPreviewView() const { return m_iconPreviewView; }
    ElidingLabel* itemDisplayNameView() const { return m_itemDisplayNameView; }
    // Hidden for what is not a desktop entry.
    ElidingLabel* itemCommandView() const { return m_itemCommandView; }
    QLabel* itemDetailsView() const { return m_itemDetailsView; }
    PathControlView* itemPathView() const { return m_itemPathView; }

    void setFileRevealer(const FileRevealer& revealer) { m_revealer = revealer; }
    // The double click on a component of the path; false when the setting
    // is off or nothing is there any more.
    bool revealPathInFinder(const QString& componentPath);

protected:
    void awakeFromNib() override;

private:
    void updateViews();

    QString m_itemPath;
    // The path the breadcrumb shows.
    QString m_shownPath;
    QString m_displayName;
    QString m_command;
    QString m_details;
    QString m_iconName;
    FileRevealer m_revealer;
    FilePreviewView* m_iconPreviewView = nullptr;
    ElidingLabel* m_itemDisplayNameView = nullptr;
    ElidingLabel* m_itemCommandView = nullptr;
    QLabel* m_itemDetailsView = nullptr;
    PathControlView* m_itemPathView = nullptr;
};
