#pragma once
// The about window: version and copyright, the credits scrolling while the
// window is open, and the acknowledgements of the software Lanternwick is
// built on, opened from the installed resources.
#include "ui/base/WindowControllerBase.h"

class CreditsView;

class AboutWindowController : public WindowControllerBase {
    Q_OBJECT
public:
    explicit AboutWindowController(QObject* parent = nullptr);
    ~AboutWindowController() override;

    QString versionString() const { return m_versionString; }
    QString copyrightString() const { return m_copyrightString; }
    // Loads the window when needed.
    CreditsView& creditsView();
    bool isCreditsAnimationActive() const;

    void showAcknowledgments();

protected:
    std::unique_ptr<QWidget> makeWindow() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void startCreditsScrollAnimation();
    void stopCreditsScrollAnimation();

    QString m_versionString;
    QString m_copyrightString;
    CreditsView* m_creditsView = nullptr;
};
