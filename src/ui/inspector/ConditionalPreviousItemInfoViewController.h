#pragma once
// The header of a conditional-previous item: its symbol, what it does, and
// its mode (the next item runs if the previous one was launched, or if it
// was not).
#include "model/MHKVONotificationHelper.h"
#include "ui/inspector/ItemInfoViewControllerBase.h"

#include <memory>

class DBConditionalPreviousItem;
class ChoicePopUpButton;

class ConditionalPreviousItemInfoViewController : public ItemInfoViewControllerBase {
    Q_OBJECT
public:
    ConditionalPreviousItemInfoViewController();
    ~ConditionalPreviousItemInfoViewController() override;

    void setRepresentedObject(const QVariant& object) override;
    std::optional<int> additionalLayoutConstraints() const override { return defaultItemInfoHeight(); }

    QLabel* iconView() const { return m_iconView; }
    QLabel* itemDisplayNameView() const { return m_itemDisplayNameView; }
    ChoicePopUpButton* modeView() const { return m_modeView; }

    // The user chose mode.
    void conditionalPreviousItemModeDidChange(const QVariant& mode);

protected:
    void awakeFromNib() override;

private:
    DBConditionalPreviousItem* conditionalItem() const;
    void updateViews();

    QLabel* m_iconView = nullptr;
    QLabel* m_itemDisplayNameView = nullptr;
    ChoicePopUpButton* m_modeView = nullptr;
    std::unique_ptr<MHKVONotificationHelper> m_modeObservation;
};
