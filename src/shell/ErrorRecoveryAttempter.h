#pragma once
// The ways out of an error that the user can choose from: each option has a
// title (shown as a button) and an attempt that answers whether it recovered.
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class ErrorRecoveryAttempter {
public:
    using Attempt = std::function<bool()>;

    void addOption(const QString& title, Attempt attempt);
    QStringList titles() const;
    // False for an index that names no option.
    bool attemptRecoveryFromErrorWithOptionIndex(int index) const;

private:
    struct Option {
        QString title;
        Attempt attempt;
    };
    std::vector<Option> m_options;
};
