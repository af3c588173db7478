#pragma once
// The name a screen reader reads for a control, taken from the label shown
// beside it ("Delay items launch by:" reads "Delay items launch by").
#include <QString>

QString accessibleNameOfLabel(const QString& label);
