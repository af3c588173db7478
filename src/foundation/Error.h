#pragma once
// The error value every failure is reported with: what went wrong (domain,
// code, description), what the user can do about it (recovery suggestion and
// options) and what caused it (underlying errors and extra user info).
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class Error {
public:
    Error() = default;
    Error(QString domain, qint64 code, QString description, QString recoverySuggestion = {});

    // The domain of the errors the program makes itself.
    static QString lanternwickDomain();

    QString domain() const { return m_domain; }
    qint64 code() const { return m_code; }
    QString description() const { return m_description; }
    QString recoverySuggestion() const { return m_recoverySuggestion; }
    QStringList recoveryOptions() const { return m_recoveryOptions; }
    QList<Error> underlyingErrors() const { return m_underlyingErrors; }
    QVariantMap userInfo() const { return m_userInfo; }

    void setRecoverySuggestion(const QString& suggestion) { m_recoverySuggestion = suggestion; }
    void setRecoveryOptions(const QStringList& options) { m_recoveryOptions = options; }
    void addUnderlyingError(const Error& error) { m_underlyingErrors.append(error); }
    void setUserInfo(const QVariantMap& userInfo) { m_userInfo = userInfo; }

    // Written out rather than defaulted: a defaulted one would ask whether
    // QList<Error> compares while Error itself is being asked, which keeps
    // the type out of QVariant.
    bool operator==(const Error& other) const;

    QString logDescription() const;

    // Writes the caller's message line and then, at ERROR level, the error in
    // the shared form: "- domain: description", the recovery suggestion when
    // there is one, and "- value" for every underlying error and user-info value.
    static void log(const QString& message, const Error& error);

private:
    QString m_domain;
    qint64 m_code = 0;
    QString m_description;
    QString m_recoverySuggestion;
    QStringList m_recoveryOptions;
    QList<Error> m_underlyingErrors;
    QVariantMap m_userInfo;
};
