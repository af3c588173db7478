#pragma once
// Contact support: there is no outside service to send to, so the dialog
// gathers what support needs — the user's description, the latest logs and
// the database — for the user to copy into a message of their own.
#include <QDialog>

class Localizator;
class QPlainTextEdit;

class FeedbackDialog : public QDialog {
    Q_OBJECT
public:
    // message starts the description (may be empty).
    FeedbackDialog(const Localizator& texts, const QString& message, const QString& logs, const QString& database,
                   QWidget* parent = nullptr);

    // The description, the logs and the database, as copied.
    QString report() const;
    void copyReport() const;

private:
    QPlainTextEdit* m_description;
    QPlainTextEdit* m_logs;
    QPlainTextEdit* m_database;
};
