#pragma once
// Answers dialogs while there is no GUI to ask the user with: the question is
// logged and the last button (the one that changes nothing, such as Quit) is
// taken, so that no choice that replaces or deletes data is ever made
// without a person.
#include "texts/DialogPresenter.h"

class LoggingDialogPresenter : public DialogPresenter {
public:
    Answer runModal(const Request& request) override;
};
