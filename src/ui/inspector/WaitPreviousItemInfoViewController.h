#pragma once
// The header of a wait-previous item: its symbol and what it waits for.
#include "ui/inspector/ItemInfoViewControllerBase.h"

class WaitPreviousItemInfoViewController : public ItemInfoViewControllerBase {
    Q_OBJECT
public:
    WaitPreviousItemInfoViewController();

    void setRepresentedObject(const QVariant& object) override;
    std::optional<int> additionalLayoutConstraints() const override { return defaultItemInfoHeight(); }

    QLabel* iconView() const { return m_iconView; }
    QLabel* itemDisplayNameView() const { return m_itemDisplayNameView; }

protected:
    void awakeFromNib() override;

private:
    void updateViews();

    QLabel* m_iconView = nullptr;
    QLabel* m_itemDisplayNameView = nullptr;
};
