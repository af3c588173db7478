#pragma once
// Stands in for the system items page until it is built: it lists the names
// of the new entries of the session's autostart list. The represented object
// is the list of their item dictionaries.
#include "ui/base/ViewControllerBase.h"

class QListWidget;

class SystemItemsPlaceholderViewController : public ViewControllerBase {
    Q_OBJECT
public:
    explicit SystemItemsPlaceholderViewController(QWidget* parent = nullptr);

    QListWidget* itemsList() const { return m_itemsList; }

protected:
    void awakeFromNib() override;
    void representedObjectChangedFrom(const QVariant& previous, const QVariant& current) override;

private:
    void showItems();

    QListWidget* m_itemsList = nullptr;
};
