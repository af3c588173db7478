#pragma once
// A small window that pops up beside the control it belongs to and closes
// when the user clicks elsewhere, switches windows or presses Escape. It is
// a window of its own on the accessibility bus, titled by its owner. It
// opens on the preferred side of its anchor, or on the opposite side when
// the screen has no room there, and is pushed back inside the screen along
// the other axis.
#include <QFrame>
#include <QPointer>

class PopoverFrame : public QFrame {
    Q_OBJECT
public:
    enum class Edge { Above, Below, Right, Left };

    explicit PopoverFrame(QWidget* parent = nullptr);

    // The popover shows content (which it takes into its layout).
    void setContentWidget(QWidget* content);
    QWidget* contentWidget() const { return m_content; }
    // Takes the content out again and hands it to newParent.
    QWidget* takeContentWidget(QWidget* newParent);

    // Opens at the anchor's rectangle, in the anchor's coordinates.
    void showRelativeTo(QWidget* anchor, const QRect& rect, Edge preferredEdge);
    void showRelativeTo(QWidget* anchor, Edge preferredEdge) { showRelativeTo(anchor, anchor->rect(), preferredEdge); }

    // Where a popover of size opens beside anchor (global coordinates) on a
    // screen with the available geometry.
    static QPoint positionFor(const QRect& anchor, const QSize& size, const QRect& screen, Edge preferredEdge);

Q_SIGNALS:
    void closed();

protected:
    bool event(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPointer<QWidget> m_content;
};
