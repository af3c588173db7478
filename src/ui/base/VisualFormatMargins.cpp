#include "ui/base/VisualFormatMargins.h"

#include "foundation/Log.h"
#include "foundation/UserDefaults.h"

#include <QRegularExpression>

std::optional<std::pair<int, int>> edgeMarginsFromVisualFormat(const QString& format, const QString& viewName)
{
    static const QString pattern = QStringLiteral(R"(^[HV]:\|(?:-(\d{1,4})-)?\[%1\](?:-(\d{1,4})-)?\|$)");
    const QRegularExpressionMatch match = QRegularExpression(pattern.arg(QRegularExpression::escape(viewName))).match(format.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    return std::make_pair(match.captured(1).toInt(), match.captured(2).toInt());
}

QMargins mainWindowPageMargins(const UserDefaults& settings)
{
    const auto horizontal = edgeMarginsFromVisualFormat(settings.mainWindowHorizontalConstraints(), QStringLiteral("view"));
    const auto vertical = edgeMarginsFromVisualFormat(settings.mainWindowVerticalConstraints(), QStringLiteral("view"));
    if (!horizontal || !vertical)
        LOG_WARN("Main window layout strings are not plain edge margins, using none...");
    return QMargins(horizontal ? horizontal->first : 0, vertical ? vertical->first : 0, horizontal ? horizontal->second : 0,
                    vertical ? vertical->second : 0);
}
