#pragma once
// What the preferences window asks of each of its panes: its identity and
// its place in the toolbar.
#include <QIcon>
#include <QString>

class ViewControllerBase;

class PreferencesPane {
public:
    virtual ~PreferencesPane() = default;

    virtual QString identifier() const = 0;
    virtual QIcon toolbarItemImage() const = 0;
    virtual QString toolbarItemLabel() const = 0;
    // The pane's view.
    virtual ViewControllerBase& paneViewController() = 0;
};
