#pragma once
// The preferences window: a toolbar with one button per pane, in the order
// given, and the chosen pane below it. The window's title is the pane's
// label. The toolbar's buttons are in the Tab order, and Ctrl+PgDn and
// Ctrl+PgUp (or Ctrl+Tab and Ctrl+Shift+Tab) show the next and previous
// pane. Undo in this window is the database's undo; Quit, Preferences and
// Help work from it, and Escape closes it.
#include "ui/base/WindowControllerBase.h"

#include <memory>
#include <vector>

class CommandDispatcher;
class PreferencesPane;
class QActionGroup;
class StaticPlaceholderContext;

class PreferencesWindowController : public WindowControllerBase {
    Q_OBJECT
public:
    // A null pane stands for the toolbar's flexible space. The panes get this
    // controller's common objects and services when the window loads.
    explicit PreferencesWindowController(std::vector<std::unique_ptr<PreferencesPane>> viewControllers, QObject* parent = nullptr);
    ~PreferencesWindowController() override;

    // The panes without the space, in toolbar order.
    int paneCount() const { return int(m_panes.size()); }
    PreferencesPane& paneAtIndex(int index) const { return *m_panes.at(size_t(index)); }
    // Undo and redo in this window go through it; set before the window loads.
    void setCommandDispatcher(CommandDispatcher* dispatcher) { m_dispatcher = dispatcher; }
    // Loads the window when needed.
    void selectControllerAtIndex(int index);
    int selectedIndex() const { return m_selectedIndex; }
    QActionGroup* toolbarActions() const { return m_toolbarActions; }

protected:
    std::unique_ptr<QWidget> makeWindow() override;
    void windowDidLoad() override;

private:
    std::vector<std::unique_ptr<PreferencesPane>> m_entries;
    std::vector<PreferencesPane*> m_panes;
    CommandDispatcher* m_dispatcher = nullptr;
    int m_selectedIndex = -1;
    QActionGroup* m_toolbarActions = nullptr;
    // After the panes: it hands the shown pane back before they go.
    std::unique_ptr<StaticPlaceholderContext> m_paneContext;
};
