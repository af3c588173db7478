#pragma once
// A file's path as a breadcrumb of flat buttons, one per folder from the
// root down to the file. A double click on a button reports the path up to
// that component. The path takes the width it is given: where that is too
// narrow, the leading folders give way to an ellipsis, then the start of
// the file's own name, so that one ellipsis stands for all that is left out.
#include <QWidget>

class QHBoxLayout;
class QToolButton;

class PathControlView : public QWidget {
    Q_OBJECT
public:
    explicit PathControlView(QWidget* parent = nullptr);

    // An absolute path; empty clears the control.
    void setPath(const QString& path);
    QString path() const { return m_path; }
    const QList<QToolButton*>& componentButtons() const { return m_buttons; }
    // The path up to the component of a button of this control.
    static QString componentPath(const QToolButton* button);

Q_SIGNALS:
    void componentDoubleClicked(const QString& componentPath);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Shows the trailing components that fit.
    void elide();

    QString m_path;
    QList<QToolButton*> m_buttons;
    QList<QWidget*> m_separators;
    QWidget* m_ellipsis = nullptr;
    QHBoxLayout* m_layout = nullptr;
};
