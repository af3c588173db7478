#pragma once
// The Update pane: the version, and that updates come from the system's
// package manager (there is no updater of our own to set up).
#include "ui/base/ViewControllerBase.h"
#include "ui/preferences/PreferencesPane.h"

class PreferencesUpdateViewController : public ViewControllerBase, public PreferencesPane {
    Q_OBJECT
public:
    explicit PreferencesUpdateViewController(QWidget* parent = nullptr);

    QString identifier() const override { return QStringLiteral("UpdatePreferences"); }
    QIcon toolbarItemImage() const override;
    QString toolbarItemLabel() const override;
    ViewControllerBase& paneViewController() override { return *this; }

protected:
    void awakeFromNib() override;
};
