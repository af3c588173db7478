#pragma once
// Ctrl+Z in a time field undoes the typing only while the field holds text
// it has not yet committed; once its value is stored, the key passes on to
// the window's Undo, which undoes the model. Redo likewise.
#include <QObject>

class QDateTimeEdit;

class CommittedUndoFilter : public QObject {
    Q_OBJECT
public:
    static void guard(QDateTimeEdit* field);
    // Whether the field shows text that its value does not (yet) hold.
    static bool hasUncommittedEdit(const QDateTimeEdit& field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};
