#include "ui/base/MessageBoxDialogPresenter.h"

#include "foundation/Log.h"

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

MessageBoxDialogPresenter::MessageBoxDialogPresenter(std::function<QWidget*()> parentProvider)
    : m_parentProvider(std::move(parentProvider))
{
}

DialogPresenter::Answer MessageBoxDialogPresenter::runModal(const Request& request)
{
    QMessageBox box(m_parentProvider ? m_parentProvider() : nullptr);
    box.setObjectName(QStringLiteral("dialogPresenterMessageBox"));
    box.setIcon(QMessageBox::Warning);
    box.setTextFormat(Qt::PlainText);
    box.setText(request.messageText);
    box.setInformativeText(request.informativeText);
    // The informative label has no format of its own; it follows the box's.
    const auto labels = box.findChildren<QLabel*>();
    for (QLabel* label : labels)
        label->setTextFormat(Qt::PlainText);
    box.setAccessibleName(request.messageText);

    QList<QAbstractButton*> buttons;
    for (const QString& title : request.buttons) {
        // Actions, not roles: the order the request gives is the order shown.
        QPushButton* button = box.addButton(title, QMessageBox::ActionRole);
        button->setAccessibleName(title);
        buttons.append(button);
    }
    if (buttons.isEmpty())
        buttons.append(box.addButton(QMessageBox::Ok));
    box.setDefaultButton(qobject_cast<QPushButton*>(buttons.first()));
    // Escape, the window's close button and a dialog closed without a button
    // (rejected, as at quit) give the answer that changes nothing.
    const qsizetype cancel = request.cancelButton >= 0 && request.cancelButton < buttons.size() ? request.cancelButton : buttons.size() - 1;
    box.setEscapeButton(buttons.at(cancel));

    QCheckBox* suppression = nullptr;
    if (!request.suppressionTitle.isEmpty()) {
        suppression = new QCheckBox(request.suppressionTitle, &box);
        suppression->setObjectName(QStringLiteral("dialogPresenterSuppression"));
        box.setCheckBox(suppression);
    }

    // All it says: support reads in the log what the user was told.
    LOG_DEBUG("Showing dialog \"%1\": %2", request.messageText, request.informativeText);
    box.exec();
    Answer answer;
    if (!request.buttons.isEmpty())
        answer.button = int(box.clickedButton() ? buttons.indexOf(box.clickedButton()) : cancel);
    answer.suppressed = suppression && suppression->isChecked();
    return answer;
}
