#include "shell/LoggingDialogPresenter.h"

#include "foundation/Log.h"

DialogPresenter::Answer LoggingDialogPresenter::runModal(const Request& request)
{
    Answer answer;
    answer.button = request.cancelButton >= 0 ? request.cancelButton : int(request.buttons.size()) - 1;
    LOG_WARN("No GUI yet to ask: %1 %2 (choices: %3); answering \"%4\"", request.messageText, request.informativeText,
             request.buttons.join(QStringLiteral(", ")), answer.button >= 0 ? request.buttons.value(answer.button) : QString());
    return answer;
}
