#pragma once
// The credits of the about window: a rich text that scrolls slowly upward,
// from just below the lower edge until it has left at the top, over and
// over while scrolling is on, faded out at both edges.
#include <QColor>
#include <QTextDocument>
#include <QWidget>

class QVariantAnimation;

class CreditsView : public QWidget {
    Q_OBJECT
public:
    // Passes shorter than this are clamped, so a hand-edited interval of 0
    // or below never makes the text spin.
    static constexpr double minimumPassSeconds = 1.0;

    explicit CreditsView(QWidget* parent = nullptr);
    ~CreditsView() override;

    void setHtml(const QString& html);
    QString plainText() const { return m_document.toPlainText(); }
    // outer is the colour at the edge, inner where the fade ends.
    void setFade(const QColor& outer, const QColor& inner, qreal height);

    // Starts a pass from the lower edge; each pass lasts passSeconds.
    void startScrolling(double passSeconds);
    // Stops and puts the text back at the lower edge.
    void stopScrolling();
    bool isScrolling() const;
    // Where a pass starts: the text just out of sight at the lower edge.
    void resetScrollPosition();

    // The top of the text in the view's coordinates.
    qreal textTop() const;
    qreal textHeight() const;
    // The fade height less 2, so that the text starts and ends under a fade.
    qreal fadeHeightCompensation() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Laid out at the current width when measured.
    mutable QTextDocument m_document;
    QColor m_outerFade = Qt::white;
    QColor m_innerFade = Qt::transparent;
    qreal m_fadeHeight = 0;
    // 0 at the start of a pass, 1 at its end.
    qreal m_progress = 0;
    QVariantAnimation* m_animation;
};
