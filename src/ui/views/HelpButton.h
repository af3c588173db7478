#pragma once
// The round question-mark button that opens a help page.
#include <QToolButton>

class HelpButton : public QToolButton {
    Q_OBJECT
public:
    // accessibleName tells screen readers which help it opens.
    explicit HelpButton(const QString& accessibleName, QWidget* parent = nullptr);
};
