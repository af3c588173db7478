// A status line that a run changes faster than anyone reads: the first text
// shows at once, a burst after it shows only its last text, which is never
// lost, and a text that does not fit ends in an ellipsis on screen while
// the whole of it stays on the accessibility bus.
#include "ui/views/ElidingLabel.h"
#include "ui/views/StatusLine.h"

#include <QAccessible>
#include <QTest>
#include <gtest/gtest.h>

TEST(StatusLine, ShowsTheFirstTextAtOnceAndTheLastOfABurstSoonAfter)
{
    QWidget window;
    window.resize(300, 40);
    auto* line = new StatusLine(&window);
    line->setGeometry(0, 0, 300, 40);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    line->setText("Launching Mail...");
    EXPECT_EQ(line->label()->fullText(), "Launching Mail...");
    for (int index = 0; index < 20; ++index)
        line->setText(QStringLiteral("Launching item %1...").arg(index));
    EXPECT_EQ(line->label()->fullText(), "Launching Mail...");
    EXPECT_EQ(line->text(), "Launching item 19...");
    EXPECT_TRUE(QTest::qWaitFor([&] { return line->label()->fullText() == "Launching item 19..."; }));

    const QString longLine = "Launching " + QString("Mail ").repeated(40) + "...";
    line->setText(longLine);
    ASSERT_TRUE(QTest::qWaitFor([&] { return line->label()->fullText() == longLine; }));
    EXPECT_TRUE(line->label()->text().endsWith(QStringLiteral("…")));
    EXPECT_LE(line->label()->width(), 300);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(line->label())->text(QAccessible::Name), longLine);
}
