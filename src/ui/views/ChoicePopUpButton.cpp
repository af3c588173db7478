#include "ui/views/ChoicePopUpButton.h"
#include "ui/views/ChoicePopUpButtonAccessible.h"
#include "ui/views/FocusedWheelFilter.h"

#include <QStandardItemModel>
#include <QStyle>
#include <QStyleOptionComboBox>

ChoicePopUpButton::ChoicePopUpButton(const QString& objectName, const QString& accessibleName, QWidget* parent)
    : QComboBox(parent)
{
    setObjectName(objectName);
    setAccessibleName(accessibleName);
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    FocusedWheelFilter::guard(this);
    // Also links the interface, which installs itself with the application.
    ChoicePopUpButtonAccessible::install();
    connect(this, &QComboBox::currentIndexChanged, this, &ChoicePopUpButton::choose);
}

void ChoicePopUpButton::addChoice(const QString& title, const QVariant& value)
{
    // The first choice added becomes current without anyone choosing it.
    const QSignalBlocker blocker(this);
    addItem(title, value);
}

void ChoicePopUpButton::removeAllChoices()
{
    const QSignalBlocker blocker(this);
    clear();
    m_shownValue = QVariant();
}

void ChoicePopUpButton::showValue(const QVariant& value)
{
    const QSignalBlocker blocker(this);
    m_shownValue = value;
    setCurrentIndex(value.isValid() ? findData(value) : -1);
}

QVariant ChoicePopUpButton::shownValue() const
{
    return currentIndex() < 0 ? QVariant() : currentData();
}

void ChoicePopUpButton::setChoiceEnabled(const QVariant& value, bool enabled)
{
    if (auto* choices = qobject_cast<QStandardItemModel*>(model()))
        if (QStandardItem* choice = choices->item(findData(value)))
            choice->setEnabled(enabled);
}

bool ChoicePopUpButton::isChoiceEnabled(const QVariant& value) const
{
    const int index = findData(value);
    return index >= 0 && (model()->flags(model()->index(index, modelColumn())) & Qt::ItemIsEnabled);
}

QStringList ChoicePopUpButton::titles() const
{
    QStringList titles;
    for (int index = 0; index < count(); ++index)
        titles << itemText(index);
    return titles;
}

void ChoicePopUpButton::choose(int index)
{
    // Keys and the wheel can land on a choice the list shows disabled.
    const QVariant value = itemData(index);
    if (!value.isValid() || !isChoiceEnabled(value)) {
        showValue(m_shownValue);
        return;
    }
    m_shownValue = value;
    Q_EMIT valueChosen(value);
}

QSize ChoicePopUpButton::sizeHint() const
{
    return fittingPlaceholder(QComboBox::sizeHint());
}

QSize ChoicePopUpButton::minimumSizeHint() const
{
    return fittingPlaceholder(QComboBox::minimumSizeHint());
}

QSize ChoicePopUpButton::fittingPlaceholder(QSize hint) const
{
    if (placeholderText().isEmpty())
        return hint;
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QSize text(fontMetrics().horizontalAdvance(placeholderText()), fontMetrics().height());
    return hint.expandedTo(style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, this));
}
