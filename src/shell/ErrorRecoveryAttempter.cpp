#include "shell/ErrorRecoveryAttempter.h"

void ErrorRecoveryAttempter::addOption(const QString& title, Attempt attempt)
{
    m_options.push_back({ title, std::move(attempt) });
}

QStringList ErrorRecoveryAttempter::titles() const
{
    QStringList titles;
    for (const Option& option : m_options)
        titles.append(option.title);
    return titles;
}

bool ErrorRecoveryAttempter::attemptRecoveryFromErrorWithOptionIndex(int index) const
{
    if (index < 0 || size_t(index) >= m_options.size())
        return false;
    return m_options[size_t(index)].attempt();
}
