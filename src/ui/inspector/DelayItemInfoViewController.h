#pragma once
// The header of a delay item: its delay in seconds on a slider and in a text
// field. Each change is an undo step of its own; the save waits until the
// changes pause, so dragging the slider saves once.
#include "model/MHKVONotificationHelper.h"
#include "ui/inspector/ItemInfoViewControllerBase.h"

#include <QTimer>
#include <memory>

class DBDelayItem;
class QLineEdit;
class QSlider;

class DelayItemInfoViewController : public ItemInfoViewControllerBase {
    Q_OBJECT
public:
    // The slider's range in seconds; typed values are kept within it.
    static constexpr int maximumDelay = 300;
    static constexpr int saveDelayMilliseconds = 200;

    DelayItemInfoViewController();
    ~DelayItemInfoViewController() override;

    void setRepresentedObject(const QVariant& object) override;
    std::optional<int> additionalLayoutConstraints() const override { return defaultItemInfoHeight(); }

    QLabel* iconView() const { return m_iconView; }
    QSlider* valueSlider() const { return m_valueSlider; }
    QLineEdit* valueTextField() const { return m_valueTextField; }
    bool isSaveScheduled() const { return m_saveTimer.isActive(); }

    // After each change the user made.
    void delayDidChange();
    void saveDataAfterDelayChange();

protected:
    void awakeFromNib() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DBDelayItem* delayItem() const;
    QString shownDelayText() const;
    void changeDelay(double delay);
    void sliderChanged(int value);
    void textFieldEdited();
    void updateControls();

    QLabel* m_iconView = nullptr;
    QSlider* m_valueSlider = nullptr;
    QLineEdit* m_valueTextField = nullptr;
    QTimer m_saveTimer;
    bool m_isUpdatingControls = false;
    std::unique_ptr<MHKVONotificationHelper> m_delayObservation;
};
