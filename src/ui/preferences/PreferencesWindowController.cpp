#include "ui/preferences/PreferencesWindowController.h"

#include "foundation/Log.h"
#include "ui/base/CommandDispatcher.h"
#include "ui/base/StaticPlaceholderContext.h"
#include "ui/base/ViewControllerBase.h"
#include "ui/preferences/PreferencesPane.h"
#include "ui/views/ToolBar.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QToolBar>

PreferencesWindowController::PreferencesWindowController(std::vector<std::unique_ptr<PreferencesPane>> viewControllers, QObject* parent)
    : WindowControllerBase(parent)
    , m_entries(std::move(viewControllers))
{
    LOG_DEBUG("Initializing...");
    for (const std::unique_ptr<PreferencesPane>& entry : m_entries)
        if (entry)
            m_panes.push_back(entry.get());
}

PreferencesWindowController::~PreferencesWindowController()
{
    LOG_DEBUG("Deallocating...");
}

std::unique_ptr<QWidget> PreferencesWindowController::makeWindow()
{
    auto window = std::make_unique<QMainWindow>();
    window->setObjectName(QStringLiteral("preferencesWindow"));
    auto* toolbar = new ToolBar(window.get());
    toolbar->setObjectName(QStringLiteral("preferencesToolbar"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar->toggleViewAction()->setVisible(false);
    window->addToolBar(toolbar);
    m_toolbarActions = new QActionGroup(window.get());
    m_toolbarActions->setExclusive(true);
    int index = 0;
    for (const std::unique_ptr<PreferencesPane>& entry : m_entries) {
        if (!entry) {
            auto* space = new QWidget(toolbar);
            space->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
            toolbar->addWidget(space);
            continue;
        }
        // A label such as "Look & feel" is shown as it is, not read for a mnemonic.
        QAction* action = toolbar->addAction(entry->toolbarItemImage(), QString(entry->toolbarItemLabel()).replace(QLatin1Char('&'), QLatin1String("&&")));
        action->setObjectName(entry->identifier());
        action->setCheckable(true);
        m_toolbarActions->addAction(action);
        connect(action, &QAction::triggered, this, [this, index] { selectControllerAtIndex(index); });
        auto* button = qobject_cast<QAbstractButton*>(toolbar->widgetForAction(action));
        // In the Tab order: Space on the pane's button shows the pane.
        button->setFocusPolicy(Qt::StrongFocus);
        // A screen reader checks the pane's button without clicking it.
        connect(button, &QAbstractButton::toggled, this,
                [this, index](bool checked) {
                    if (checked)
                        selectControllerAtIndex(index);
                });
        ++index;
    }
    // Undo and redo act on the database here too, and the application's
    // commands work from here; the window has no menus of its own, so the
    // shortcuts live on the window. Escape closes it.
    if (m_dispatcher)
        m_dispatcher->addWindowCommands(*window);
    // The panes in turn, as in a tabbed window.
    const auto addPaneSwitch = [this, &window](const QString& name, const QList<QKeySequence>& keys, int step) {
        auto* action = new QAction(window.get());
        action->setObjectName(name);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, step] {
            if (paneCount() > 0)
                selectControllerAtIndex((m_selectedIndex + step + paneCount()) % paneCount());
        });
        window->addAction(action);
    };
    addPaneSwitch(QStringLiteral("nextPaneAction"), { QKeySequence(Qt::CTRL | Qt::Key_PageDown), QKeySequence(Qt::CTRL | Qt::Key_Tab) }, 1);
    addPaneSwitch(QStringLiteral("previousPaneAction"),
                  { QKeySequence(Qt::CTRL | Qt::Key_PageUp), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab) },
                  -1);
    auto* closeAction = new QAction(window.get());
    closeAction->setObjectName(QStringLiteral("closePreferencesAction"));
    closeAction->setShortcut(QKeySequence::Cancel);
    closeAction->setShortcutContext(Qt::WindowShortcut);
    connect(closeAction, &QAction::triggered, this, &WindowControllerBase::close);
    window->addAction(closeAction);
    auto* placeholder = new QWidget(window.get());
    placeholder->setObjectName(QStringLiteral("preferencesPanePlaceholder"));
    placeholder->setMinimumSize(520, 300);
    window->setCentralWidget(placeholder);
    m_paneContext = std::make_unique<StaticPlaceholderContext>(placeholder);
    return window;
}

void PreferencesWindowController::windowDidLoad()
{
    for (PreferencesPane* pane : m_panes)
        copyCommonObjectsToViewController(pane->paneViewController());
    if (!m_panes.empty())
        selectControllerAtIndex(0);
}

void PreferencesWindowController::selectControllerAtIndex(int index)
{
    if (index < 0 || index >= paneCount())
        return;
    QWidget* shown = window();
    if (index == m_selectedIndex)
        return;
    m_selectedIndex = index;
    PreferencesPane& pane = paneAtIndex(index);
    m_toolbarActions->actions().at(index)->setChecked(true);
    m_paneContext->replaceViewControllerWith(&pane.paneViewController());
    shown->setWindowTitle(pane.toolbarItemLabel());
}
