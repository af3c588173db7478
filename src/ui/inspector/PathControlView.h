#pragma once
// A file's path as a breadcrumb of flat buttons, one per folder from the
// root down to the file. A double click on a button reports the path up to
// that component.
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

private:
    QString m_path;
    QList<QToolButton*> m_buttons;
    QList<QWidget*> m_separators;
    QHBoxLayout* m_layout = nullptr;
};
