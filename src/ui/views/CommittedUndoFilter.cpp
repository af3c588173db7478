#include "ui/views/CommittedUndoFilter.h"

#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QKeyEvent>

void CommittedUndoFilter::guard(QDateTimeEdit* field)
{
    // One filter serves every field; it lives as long as the application.
    static auto* const filter = new CommittedUndoFilter(QCoreApplication::instance());
    field->installEventFilter(filter);
}

bool CommittedUndoFilter::hasUncommittedEdit(const QDateTimeEdit& field)
{
    return field.text() != field.locale().toString(field.dateTime(), field.displayFormat());
}

bool CommittedUndoFilter::eventFilter(QObject* watched, QEvent* event)
{
    auto* field = qobject_cast<QDateTimeEdit*>(watched);
    if (!field || event->type() != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool undoOrRedo = key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo);
    // Left unaccepted, the key goes on to the shortcuts instead of the field.
    return undoOrRedo && !hasUncommittedEdit(*field);
}
