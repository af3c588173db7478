#pragma once
// The Ignored Items pane: the items the user keeps out of both lists. Its
// place in the toolbar and its help are here; the list itself is not built
// yet, so the pane is empty.
#include "ui/base/ViewControllerBase.h"
#include "ui/preferences/PreferencesPane.h"

class PreferencesIgnoredItemsViewController : public ViewControllerBase, public PreferencesPane {
    Q_OBJECT
public:
    explicit PreferencesIgnoredItemsViewController(QWidget* parent = nullptr);

    QString identifier() const override { return QStringLiteral("IgnoredItemsPreferences"); }
    QIcon toolbarItemImage() const override;
    QString toolbarItemLabel() const override;
    ViewControllerBase& paneViewController() override { return *this; }

    void showHelp();

protected:
    void awakeFromNib() override;
};
