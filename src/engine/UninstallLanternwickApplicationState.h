#pragma once
// Hands everything back when the application is switched off: its own entry
// leaves the session's login items list and the items it ran go back there.
#include "engine/SystemItemsApplicationState.h"

class UninstallLanternwickApplicationState : public SystemItemsApplicationState {
public:
    UninstallLanternwickApplicationState();

    void executeState() override;

    void keelhouseDidBeginUninstalling() override;
    void keelhouseDidEndUninstalling() override;

protected:
    void requestDidFail(const Error& error) override;

private:
    bool m_didBegin = false;
};
