#include "ui/inspector/DelayItemInfoViewController.h"

#include "foundation/Log.h"
#include "foundation/MHNumberFormatter.h"
#include "model/DBDelayItem.h"
#include "shell/ApplicationHelpers.h"
#include "shell/ModelEditing.h"
#include "ui/icons/IconsManager.h"
#include "ui/inspector/RepresentedObject.h"
#include "ui/views/FocusedWheelFilter.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <algorithm>
#include <cmath>

DelayItemInfoViewController::DelayItemInfoViewController()
{
    setObjectName(QStringLiteral("delayItemInfoView"));
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(saveDelayMilliseconds);
    connect(&m_saveTimer, &QTimer::timeout, this, &DelayItemInfoViewController::saveDataAfterDelayChange);
}

DelayItemInfoViewController::~DelayItemInfoViewController() = default;

void DelayItemInfoViewController::awakeFromNib()
{
    m_iconView = makeIconView(IconsManager::sharedInstance().delayItemIcon());
    m_valueSlider = new QSlider(Qt::Horizontal, this);
    m_valueSlider->setObjectName(QStringLiteral("valueSlider"));
    m_valueSlider->setAccessibleName(tr("Delay in seconds"));
    m_valueSlider->setRange(0, maximumDelay);
    FocusedWheelFilter::guard(m_valueSlider);
    m_valueTextField = new QLineEdit(this);
    m_valueTextField->setObjectName(QStringLiteral("valueTextField"));
    m_valueTextField->setAccessibleName(tr("Delay in seconds"));
    m_valueTextField->setFixedWidth(60);
    m_valueTextField->setAlignment(Qt::AlignRight);
    auto* unit = new QLabel(tr("s"), this);
    unit->setObjectName(QStringLiteral("valueUnitLabel"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(8);
    layout->addWidget(m_iconView);
    layout->addWidget(m_valueSlider, 1);
    layout->addWidget(m_valueTextField);
    layout->addWidget(unit);

    connect(m_valueSlider, &QSlider::valueChanged, this, &DelayItemInfoViewController::sliderChanged);
    connect(m_valueTextField, &QLineEdit::editingFinished, this, &DelayItemInfoViewController::textFieldEdited);
    m_valueTextField->installEventFilter(this);
    updateControls();
}

void DelayItemInfoViewController::setRepresentedObject(const QVariant& object)
{
    // A save still pending belongs to the item shown until now.
    if (m_saveTimer.isActive()) {
        m_saveTimer.stop();
        saveDataAfterDelayChange();
    }
    ViewControllerBase::setRepresentedObject(object);
    m_delayObservation.reset();
    if (DBDelayItem* item = delayItem())
        m_delayObservation = item->addObserver(QStringLiteral("itemDelay"), [this](ManagedObject*, const KeyValueChange&) { updateControls(); });
    updateControls();
}

DBDelayItem* DelayItemInfoViewController::delayItem() const
{
    return RepresentedObject::liveObjectAs<DBDelayItem>(representedObject());
}

void DelayItemInfoViewController::updateControls()
{
    if (!isViewLoaded())
        return;
    m_isUpdatingControls = true;
    const DBDelayItem* item = delayItem();
    const double delay = item ? item->itemDelayValue() : 0;
    m_valueSlider->setValue(static_cast<int>(std::lround(std::clamp<double>(delay, 0, maximumDelay))));
    m_valueTextField->setText(shownDelayText());
    m_valueSlider->setEnabled(item);
    m_valueTextField->setEnabled(item);
    m_isUpdatingControls = false;
}

void DelayItemInfoViewController::sliderChanged(int value)
{
    if (!m_isUpdatingControls)
        changeDelay(value);
}

void DelayItemInfoViewController::textFieldEdited()
{
    const std::optional<double> typed = MHNumberFormatter().objectValueForString(m_valueTextField->text());
    if (!typed || !std::isfinite(*typed) || *typed < 0) {
        LOG_VERBOSE("Refusing the typed delay \"%1\"", m_valueTextField->text());
        updateControls();
        return;
    }
    // The slider's range limits the slider only: a longer typed delay is kept.
    changeDelay(*typed);
    updateControls();
}

bool DelayItemInfoViewController::eventFilter(QObject* watched, QEvent* event)
{
    // A screen reader sets the whole text at once, which the field does not
    // count as typed and never reports finished: leaving the field stores it
    // as it stores typed text. Typed text, stored here first, then stores
    // nothing new.
    if (watched == m_valueTextField && event->type() == QEvent::FocusOut && m_valueTextField->text() != shownDelayText())
        textFieldEdited();
    return ItemInfoViewControllerBase::eventFilter(watched, event);
}

QString DelayItemInfoViewController::shownDelayText() const
{
    const DBDelayItem* item = delayItem();
    return MHNumberFormatter().stringForObjectValue(item ? item->itemDelayValue() : 0);
}

void DelayItemInfoViewController::changeDelay(double delay)
{
    DBDelayItem* item = delayItem();
    if (!item || !editing()->setDelayItemDelay(item, delay))
        return;
    delayDidChange();
}

void DelayItemInfoViewController::delayDidChange()
{
    // A slider move while the user types a value ends the typing.
    if (m_valueTextField->hasFocus())
        m_valueSlider->setFocus(Qt::OtherFocusReason);
    m_saveTimer.start();
}

void DelayItemInfoViewController::saveDataAfterDelayChange()
{
    LOG_VERBOSE("Saving after delay change...");
    helpers()->saveDataToDiskUsingChangeBackup(true);
}
