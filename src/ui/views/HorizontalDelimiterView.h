#pragma once
// A dotted horizontal rule across the view at half its height.
#include "texts/LanternwickObject.h"

#include <QColor>
#include <QWidget>
#include <optional>

class HorizontalDelimiterView : public QWidget, public LanternwickObject {
    Q_OBJECT
public:
    explicit HorizontalDelimiterView(QWidget* parent = nullptr);

    // From "Layout.ItemInspectorView.ItemsTableDelimiterColor" on first use.
    QColor delimiterColor() const;
    void setDelimiterColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    mutable std::optional<QColor> m_delimiterColor;
};
