#pragma once
// The popover of the system items page: the file header of one entry of the
// session's login items list. The represented object is a SystemItemData,
// or nothing, which leaves the popover empty.
#include "ui/base/StaticPlaceholderContext.h"
#include "ui/base/ViewControllerBase.h"

#include <memory>

class FileItemInfoViewController;

class SystemItemInspectorViewController : public ViewControllerBase {
    Q_OBJECT
public:
    SystemItemInspectorViewController();
    ~SystemItemInspectorViewController() override;

    QWidget* placeholderView() const { return m_placeholderView; }
    // Made on first access.
    StaticPlaceholderContext* placeholderContext();
    FileItemInfoViewController* fileItemInfoViewController();

protected:
    void awakeFromNib() override;
    void representedObjectChangedFrom(const QVariant& previous, const QVariant& current) override;

private:
    void showRepresentedObject();

    QWidget* m_placeholderView = nullptr;
    std::unique_ptr<FileItemInfoViewController> m_fileItemInfoViewController;
    // After the header: it hands the header back before it goes.
    std::unique_ptr<StaticPlaceholderContext> m_placeholderContext;
};
