#pragma once
// Shows one view controller at a time inside a placeholder widget. The
// context does not own the controllers: their parent controller does, and
// declares its contexts after them, so that a context hands its current view
// back before the controllers go.
//
// The plain context gives the new view the placeholder's size once; the
// static and animated ones keep it filling the placeholder.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

class ViewControllerBase;

class PlaceholderControllerContext : public QObject {
    Q_OBJECT
public:
    explicit PlaceholderControllerContext(QWidget* placeholderView, QObject* parent = nullptr);
    ~PlaceholderControllerContext() override;

    QWidget* placeholderView() const { return m_placeholderView; }
    ViewControllerBase* currentViewController() const;
    void setCurrentViewController(ViewControllerBase* controller);

    QString logDescription() const;

Q_SIGNALS:
    void currentViewControllerWillChange();
    void currentViewControllerChanged(ViewControllerBase* current);

protected:
    // placeholder, outgoing view (null when none), incoming view (null when none).
    using SwapBlock = std::function<void(QWidget* placeholder, QWidget* outgoing, QWidget* incoming)>;
    void replaceViewControllerWith(ViewControllerBase* controller, const SwapBlock& block);

    // Takes a view out of the placeholder; its controller's owner keeps it.
    static void removeView(QWidget* view);
    // Puts a view into the placeholder, shown, with the placeholder's size.
    void addView(QWidget* view);

private:
    QPointer<QWidget> m_placeholderView;
    QPointer<ViewControllerBase> m_current;
};
