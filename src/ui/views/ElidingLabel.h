#pragma once
// A one-line label for names and titles of any length: it shows as much of
// the text as fits, ending in an ellipsis, so a long name never widens its
// window. The whole text stays in the tooltip and on the accessibility bus.
#include <QLabel>

class ElidingLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidingLabel(QWidget* parent = nullptr);

    // The text to show; setText would be elided away on the next resize.
    void setFullText(const QString& text);
    QString fullText() const { return m_fullText; }

    // As wide as the whole text, but content with an ellipsis.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void elide();

    QString m_fullText;
};
