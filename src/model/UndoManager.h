#pragma once
// Undo and redo of model changes. Actions are closures that run through the
// same setters as the original change, so running an undo registers its redo.
//
// Changes made within one pass of the event loop form one group unless the
// caller groups explicitly; nested groups fold into the outermost one, which
// carries the action name.
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class UndoManager : public QObject {
    Q_OBJECT
public:
    using Action = std::function<void()>;

    explicit UndoManager(QObject* parent = nullptr);
    ~UndoManager() override;

    void registerUndo(Action action);

    void beginUndoGrouping();
    void endUndoGrouping();
    int groupingLevel() const { return static_cast<int>(m_openGroups.size()); }
    bool groupsByEvent() const { return m_groupsByEvent; }
    void setGroupsByEvent(bool groupsByEvent);

    // Names the outermost open group (while undoing: the redo being built),
    // or else the step that undo would take next.
    void setActionName(const QString& name);
    QString undoActionName() const;
    // The name of the outermost open group, empty when none is open.
    QString openGroupActionName() const;
    QString redoActionName() const;

    bool canUndo() const;
    bool canRedo() const;
    bool isUndoing() const { return m_undoing; }
    bool isRedoing() const { return m_redoing; }
    void undo();
    void redo();

    // Counted: each disable needs its own enable.
    void disableUndoRegistration();
    void enableUndoRegistration();
    bool isUndoRegistrationEnabled() const { return m_disableCount == 0; }

    void removeAllActions();

Q_SIGNALS:
    void didUndo();
    void didRedo();
    void didCloseUndoGroup();

private:
    struct Group {
        QString actionName;
        std::vector<Action> actions;
    };

    void closeEventGroup();
    void runGroup(std::vector<Group>& from, std::vector<Group>& to, bool& flag);

    std::vector<Group> m_undoStack;
    std::vector<Group> m_redoStack;
    std::vector<Group> m_openGroups;
    bool m_groupsByEvent = true;
    bool m_eventGroupOpen = false;
    bool m_undoing = false;
    bool m_redoing = false;
    int m_disableCount = 0;
};
