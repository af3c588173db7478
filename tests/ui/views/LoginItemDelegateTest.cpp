// What an item row looks like in each state, read back from the painted
// pixels, and the action button's hit area.
#include "ItemListTestFixture.h"
#include "model/ExecutionValidationParameters.h"
#include "ui/icons/ColorFromRgba.h"
#include "ui/views/ItemRunStates.h"
#include "ui/views/LoginItemDelegate.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <gtest/gtest.h>

namespace {

class LoginItemDelegateTest : public ItemListTest {
protected:
    void SetUp() override
    {
        ItemListTest::SetUp();
        file = addFile("/usr/bin/mail");
        delay = addDelay();
        model.setRowCount(2);
        model.setColumnCount(1);
        delegate = std::make_unique<LoginItemDelegate>(
            [this](const QModelIndex& index) { return items().value(index.row()); }, states, settings.get());
    }

    QStyleOptionViewItem option(int row) const
    {
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, 400, row == 0 ? 56 : 28);
        option.state = QStyle::State_Enabled;
        option.palette.setColor(QPalette::Base, Qt::white);
        return option;
    }

    // The row alone, painted on white.
    QImage paintRow(int row, bool selected = false, bool focused = false) const
    {
        QStyleOptionViewItem style = option(row);
        if (selected)
            style.state |= QStyle::State_Selected;
        if (focused)
            style.state |= QStyle::State_HasFocus;
        QImage image(style.rect.size(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        delegate->paint(&painter, style, model.index(row, 0));
        return image;
    }

    void judge(uint32_t powerSource)
    {
        auto parameters = ExecutionValidationParameters::create();
        parameters->setPowerSource(powerSource);
        states.setStatusDisplayOn(true);
        states.setParameters(parameters);
        states.judgeItems(items());
        delegate->setStatusDisplayOn(true, false);
    }

    // As the 8-bit image holds it.
    QRgb setting(RgbaColor (UserDefaults::*color)() const) const { return colorFromRgba((settings.get()->*color)()).rgb(); }

    DBLoginItem* file = nullptr;
    DBLoginItem* delay = nullptr;
    QStandardItemModel model;
    ItemRunStates states;
    std::unique_ptr<LoginItemDelegate> delegate;
};

TEST_F(LoginItemDelegateTest, BackgroundsAndStripByState)
{
    const QPoint corner(2, 2);
    const QRgb white = QColor(Qt::white).rgb();
    const QRgb executing = setting(&UserDefaults::itemTableRowViewExecutingBackgroundColor);
    EXPECT_EQ(paintRow(0).pixel(corner), white);
    EXPECT_EQ(paintRow(1).pixel(corner), setting(&UserDefaults::utilityRowViewInsideColor));

    states.setItemExecuting(file->objectID(), true);
    states.setItemExecuting(delay->objectID(), true);
    EXPECT_EQ(paintRow(0).pixel(corner), executing);
    // The band of a delay row does not hide that it executes.
    EXPECT_EQ(paintRow(1).pixel(corner), executing);
    states.endRun();

    // Only on battery: on the power supply the delay is prevented.
    DBStartupCondition* battery = powerCondition(PowerSourceTypeBattery, "Battery");
    delay->addItemStartupConditionsObject(battery);
    judge(PowerSourceTypePowerSupply);
    EXPECT_EQ(paintRow(1).pixel(QPoint(200, 2)), QColor(setting(&UserDefaults::itemTableRowViewExecutionPreventedBackgroundColor)).rgb());
    EXPECT_EQ(paintRow(1).pixel(QPoint(1, 14)), QColor(setting(&UserDefaults::startupConditionsListViewSimulationPreventBorderColor)).rgb());
    EXPECT_EQ(paintRow(0).pixel(QPoint(1, 28)), QColor(executing).rgb());
    EXPECT_EQ(paintRow(0).pixel(QPoint(200, 2)), QColor(Qt::white).rgb());

    judge(PowerSourceTypeBattery);
    EXPECT_EQ(paintRow(1).pixel(QPoint(1, 14)), QColor(executing).rgb());
    // Leaving the status display takes the strip away.
    states.setStatusDisplayOn(false);
    delegate->setStatusDisplayOn(false, false);
    EXPECT_EQ(paintRow(0).pixel(QPoint(1, 28)), QColor(Qt::white).rgb());
}

TEST_F(LoginItemDelegateTest, TheRowTheKeysActOnIsFramed)
{
    const QPoint edge(1, 20);
    const QRgb white = QColor(Qt::white).rgb();
    const QStyleOptionViewItem style = option(0);
    EXPECT_EQ(paintRow(0).pixel(edge), white);
    EXPECT_EQ(paintRow(0, false, true).pixel(edge), style.palette.color(QPalette::Highlight).rgb());
    // On a selected row the frame stands out against the selection.
    EXPECT_EQ(paintRow(0, true, true).pixel(edge), style.palette.color(QPalette::HighlightedText).rgb());
    EXPECT_EQ(paintRow(0, true).pixel(edge), style.palette.color(QPalette::Highlight).rgb());
}

TEST_F(LoginItemDelegateTest, TheActionButtonReportsItsClickWithoutSelecting)
{
    QSignalSpy clicks(delegate.get(), &LoginItemDelegate::actionButtonClicked);
    const QStyleOptionViewItem style = option(0);
    const QRect button = delegate->framesForRow(style, *file).actionButton.toRect();
    const auto click = [&](QEvent::Type type, QPoint at) {
        QMouseEvent event(type, at, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        return delegate->editorEvent(&event, &model, style, model.index(0, 0));
    };
    EXPECT_TRUE(click(QEvent::MouseButtonPress, button.center()));
    EXPECT_TRUE(click(QEvent::MouseButtonRelease, button.center()));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.first().at(1).toRect(), button);
    EXPECT_FALSE(click(QEvent::MouseButtonRelease, QPoint(60, 28)));
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(LoginItemDelegateTest, NamesStayOnOneLine)
{
    EXPECT_EQ(LoginItemDelegate::singleLine(QStringLiteral("Mail\nCheck\tnow\r\u2028end")), "Mail Check now  end");
    EXPECT_EQ(LoginItemDelegate::singleLine(QStringLiteral("<b>bold</b> & $HOME")), "<b>bold</b> & $HOME");
    // Heights follow the kind of item and the list size.
    EXPECT_EQ(delegate->sizeHint(option(0), model.index(0, 0)).height(), int(settings->itemsListsHeightBasedOnCurrentSizeSetting()));
    EXPECT_EQ(delegate->sizeHint(option(1), model.index(1, 0)).height(), int(settings->simpleItemViewCellHeight()));
}

} // namespace
