#include "ui/base/VisualFormatMargins.h"

#include <QRegularExpression>

std::optional<std::pair<int, int>> edgeMarginsFromVisualFormat(const QString& format, const QString& viewName)
{
    static const QString pattern = QStringLiteral(R"(^[HV]:\|(?:-(\d{1,4})-)?\[%1\](?:-(\d{1,4})-)?\|$)");
    const QRegularExpressionMatch match = QRegularExpression(pattern.arg(QRegularExpression::escape(viewName))).match(format.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    return std::make_pair(match.captured(1).toInt(), match.captured(2).toInt());
}
