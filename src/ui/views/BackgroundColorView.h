#pragma once
// A view filled with one colour, or drawn by a function given to it.
#include <QColor>
#include <QWidget>
#include <functional>
#include <optional>

class BackgroundColorView : public QWidget {
    Q_OBJECT
public:
    using DrawBlock = std::function<void(BackgroundColorView& view, QPainter& painter, const QRect& dirtyRect)>;

    explicit BackgroundColorView(QWidget* parent = nullptr);

    // White until one is set.
    QColor backgroundColor() const { return m_backgroundColor.value_or(Qt::white); }
    void setBackgroundColor(const QColor& color);
    void setDrawBlock(DrawBlock drawBlock);

protected:
    // Without a draw block the colour fills the view; with one, a colour that
    // was set lies under its drawing and an unset one is not painted at all.
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<QColor> m_backgroundColor;
    DrawBlock m_drawBlock;
};
