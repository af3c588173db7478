// On a selected row the cell's labels, nested ones too, take the window
// background colour; a field being edited keeps its own colours.
#include "ui/views/StartupConditionCellView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

class StartupConditionCellViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        QPalette palette = cell.palette();
        palette.setColor(QPalette::Window, QColor(250, 240, 230));
        palette.setColor(QPalette::Text, QColor(10, 20, 30));
        cell.setPalette(palette);

        auto* layout = new QHBoxLayout(&cell);
        name = new QLabel(QStringLiteral("Battery"));
        readOnly = new QLineEdit(QStringLiteral("50 %"));
        readOnly->setReadOnly(true);
        editing = new QLineEdit(QStringLiteral("Home Wi-Fi"));
        auto* group = new QWidget;
        auto* groupLayout = new QHBoxLayout(group);
        nested = new QLabel(QStringLiteral("on"));
        groupLayout->addWidget(nested);
        layout->addWidget(name);
        layout->addWidget(readOnly);
        layout->addWidget(editing);
        layout->addWidget(group);
    }

    static QColor textColor(QWidget* widget) { return widget->palette().color(widget->foregroundRole()); }

    StartupConditionCellView cell;
    QLabel* name = nullptr;
    QLineEdit* readOnly = nullptr;
    QLineEdit* editing = nullptr;
    QLabel* nested = nullptr;
};

} // namespace

TEST_F(StartupConditionCellViewTest, SelectedRowTurnsLabelsToTheWindowColourAndLeavesEditingFieldsAlone)
{
    editing->setFocus();
    const QPalette editingPalette = editing->palette();

    cell.setBackgroundStyle(BackgroundStyle::Dark);
    EXPECT_EQ(cell.backgroundStyle(), BackgroundStyle::Dark);
    EXPECT_EQ(textColor(name), QColor(250, 240, 230));
    EXPECT_EQ(textColor(nested), QColor(250, 240, 230));
    EXPECT_EQ(textColor(readOnly), QColor(250, 240, 230));
    EXPECT_EQ(editing->palette(), editingPalette);

    cell.setBackgroundStyle(BackgroundStyle::Light);
    EXPECT_EQ(textColor(name), QColor(10, 20, 30));
    EXPECT_EQ(textColor(nested), QColor(10, 20, 30));
    EXPECT_EQ(editing->palette(), editingPalette);
}
