#include "ui/base/VisualFormatMargins.h"

#include <gtest/gtest.h>

namespace {

TEST(VisualFormatMarginsTest, ReadsOnlyThePlainEdgeForm)
{
    using Margins = std::optional<std::pair<int, int>>;
    const struct {
        const char* format;
        Margins margins;
    } cases[] = {
        { "H:|[view]|", std::make_pair(0, 0) },
        { "V:|-12-[view]-8-|", std::make_pair(12, 8) },
        { " H:|-4-[view]| ", std::make_pair(4, 0) },
        { "H:|-[view]-|", std::nullopt },
        { "H:|[other]|", std::nullopt },
        { "H:|-99999-[view]|", std::nullopt },
        { "H:|[view(>=100)]|", std::nullopt },
        { "", std::nullopt },
    };
    for (const auto& row : cases)
        EXPECT_EQ(edgeMarginsFromVisualFormat(QString::fromUtf8(row.format), QStringLiteral("view")), row.margins) << row.format;
}

} // namespace
