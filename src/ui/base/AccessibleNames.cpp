#include "ui/base/AccessibleNames.h"

QString accessibleNameOfLabel(const QString& label)
{
    QString name = label.trimmed();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name.trimmed();
}
