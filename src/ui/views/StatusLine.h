#pragma once
// A one-line message that changes often (a run's status, a countdown). A
// label in a layout lays out its whole window again at every new text; this
// line's label is placed by hand in a holder without a layout, so a new text
// only repaints it. A text longer than the line ends in an ellipsis and stays
// whole in the tooltip and on the accessibility bus.
#include <QWidget>

class ElidingLabel;

class StatusLine : public QWidget {
    Q_OBJECT
public:
    explicit StatusLine(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const;
    ElidingLabel* label() const { return m_label; }

    // One line of the font high; as wide as its layout gives it.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    ElidingLabel* m_label;
};
