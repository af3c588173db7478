#pragma once
// A pop-up list of titled choices, each carrying the value it stands for.
// The program shows a value without choosing it; every other change of the
// current choice (a click, a key, a screen reader, a test) is reported, so
// showing a stored value never writes it back. A value that is
// none of the choices shows the placeholder text.
#include <QComboBox>

class ChoicePopUpButton : public QComboBox {
    Q_OBJECT
public:
    ChoicePopUpButton(const QString& objectName, const QString& accessibleName, QWidget* parent = nullptr);

    void addChoice(const QString& title, const QVariant& value);
    void removeAllChoices();

    void showValue(const QVariant& value);
    // Invalid while nothing is shown.
    QVariant shownValue() const;

    // A disabled choice stays listed but cannot be picked.
    void setChoiceEnabled(const QVariant& value, bool enabled);
    bool isChoiceEnabled(const QVariant& value) const;
    // The titles in list order, separators as empty texts.
    QStringList titles() const;

    // Wide enough for the placeholder text as well as for the choices.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void valueChosen(const QVariant& value);

private:
    void choose(int index);
    QSize fittingPlaceholder(QSize hint) const;

    QVariant m_shownValue;
};
