#pragma once
// Switches the watcher of the session's login items list on or off, so that
// the application's own changes to the list do not come back to it as
// changes of the user's.
#include "engine/ApplicationState.h"

class SystemChangeApplicationState : public ApplicationState {
public:
    void executeState() override;

protected:
    SystemChangeApplicationState(QString name, bool enable);

private:
    const bool m_enable;
};
