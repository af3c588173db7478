#pragma once
// Shows a modal message with buttons and waits for the user's answer. The GUI
// implements it; the texts and the rules of a dialog stay free of widgets.
#include "foundation/Error.h"

#include <QString>
#include <QStringList>

class DialogPresenter {
public:
    struct Request {
        QString messageText;
        QString informativeText;
        // In order; the first is the default button.
        QStringList buttons;
        // The title of a "do not ask again" check box; empty for none.
        QString suppressionTitle;
        // The button that changes nothing, answered when nobody can be asked;
        // -1: the last one.
        int cancelButton = -1;
    };

    struct Answer {
        // Index into Request::buttons; -1 when the dialog closed without one.
        int button = -1;
        bool suppressed = false;
    };

    // An error as a dialog: its description, its recovery suggestion and its
    // recovery options as the buttons.
    static Request requestForError(const Error& error)
    {
        Request request;
        request.messageText = error.description();
        request.informativeText = error.recoverySuggestion();
        request.buttons = error.recoveryOptions();
        return request;
    }

    virtual ~DialogPresenter() = default;

    virtual Answer runModal(const Request& request) = 0;
};
