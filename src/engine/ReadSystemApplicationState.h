#pragma once
// Reads the session's login items list: the service reports the entries the
// user has neither taken over nor ignored, and makes sure the application's
// own entry is there. An entry found keeps the application open (it cancels
// the auto close) so the user can look at it; so does a read that fails,
// whose end says why.
#include "engine/SystemItemsApplicationState.h"

class ReadSystemApplicationState : public SystemItemsApplicationState {
public:
    ReadSystemApplicationState();

    // The UI item dictionaries of the entries found by the current read.
    QVariantList unknownItems() const { return m_unknownItems; }

    void executeState() override;

    void keelhouseDidBeginReading() override;
    void keelhouseDidEndReading() override;
    void keelhouseDidFindUnknownItem(const QVariantMap& item) override;
    void keelhouseDidFailItem(const QVariantMap& item) override;

protected:
    void requestDidFail(const Error& error) override;

private:
    void reportNewItem(const QVariantMap& item);
    void postEnd(const QVariantMap& extra = {});

    QVariantList m_unknownItems;
};
