#pragma once
// Answers dialogs while there is no GUI to ask the user with: the question is
// logged and the button that changes nothing (such as Quit: the request's
// cancel button, else the last) is taken, so that no choice that replaces or deletes data is ever made
// without a person.
#include "texts/DialogPresenter.h"

class LoggingDialogPresenter : public DialogPresenter {
public:
    Answer runModal(const Request& request) override;
};
