#pragma once
// A one-line message that changes often (a run's status, a countdown). A
// label in a layout lays out its whole window again at every new text; this
// line's label is placed by hand in a holder without a layout, so a new text
// only repaints it. A run may change it every few milliseconds, faster than
// anyone reads: a new text shows at once after a quiet moment, otherwise the
// latest one shows when the moment ends, so the line repaints (and a screen
// reader hears it) a few times a second at most. A text longer than the line
// ends in an ellipsis and stays whole in the tooltip and on the
// accessibility bus.
#include <QTimer>
#include <QWidget>

class ElidingLabel;

class StatusLine : public QWidget {
    Q_OBJECT
public:
    static constexpr int QuietMs = 100;

    explicit StatusLine(QWidget* parent = nullptr);

    void setText(const QString& text);
    // The latest text, shown or about to be.
    QString text() const { return m_text; }
    ElidingLabel* label() const { return m_label; }

    // One line of the font high; as wide as its layout gives it.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void showLatest();

    ElidingLabel* m_label;
    QString m_text;
    QTimer m_quiet;
};
