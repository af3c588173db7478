#pragma once
// Dialogs and error alerts as message boxes. Every text is shown as plain
// text: names of items and files come from the user's disk and may hold markup.
#include "texts/DialogPresenter.h"

#include <functional>

class QWidget;

class MessageBoxDialogPresenter : public DialogPresenter {
public:
    // parentProvider: the window the dialog belongs to at the time it is shown
    // (may answer null).
    explicit MessageBoxDialogPresenter(std::function<QWidget*()> parentProvider = {});

    Answer runModal(const Request& request) override;

private:
    std::function<QWidget*()> m_parentProvider;
};
