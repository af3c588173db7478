#pragma once
// Answers dialogs from a script and keeps what it was shown.
#include "texts/DialogPresenter.h"

#include <QList>

class FakeDialogPresenter : public DialogPresenter {
public:
    Answer runModal(const Request& request) override
    {
        shown.append(request);
        return answer;
    }

    Answer answer;
    QList<Request> shown;
};
