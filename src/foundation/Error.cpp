#include "foundation/Error.h"

#include "foundation/Log.h"
#include "foundation/MHErrors.h"

Error::Error(QString domain, qint64 code, QString description, QString recoverySuggestion)
    : m_domain(std::move(domain))
    , m_code(code)
    , m_description(std::move(description))
    , m_recoverySuggestion(std::move(recoverySuggestion))
{
}

bool Error::operator==(const Error& other) const
{
    return m_domain == other.m_domain && m_code == other.m_code && m_description == other.m_description
        && m_recoverySuggestion == other.m_recoverySuggestion && m_recoveryOptions == other.m_recoveryOptions
        && m_underlyingErrors == other.m_underlyingErrors && m_userInfo == other.m_userInfo;
}

QString Error::lanternwickDomain()
{
    return MHErrors::domain;
}

QString Error::logDescription() const
{
    return QStringLiteral("Error Domain=%1 Code=%2 \"%3\"").arg(m_domain, QString::number(m_code), m_description);
}

void Error::log(const QString& message, const Error& error)
{
    LOG_ERROR("%1", message);
    LOG_ERROR("- %1: %2", error.m_domain, error.m_description);
    if (!error.m_recoverySuggestion.isEmpty())
        LOG_ERROR("Recovery suggestion: %1", error.m_recoverySuggestion);
    for (const Error& underlying : error.m_underlyingErrors)
        LOG_ERROR("- %1", underlying);
    for (auto it = error.m_userInfo.cbegin(); it != error.m_userInfo.cend(); ++it)
        LOG_ERROR("- %1", it.value().toString());
}
