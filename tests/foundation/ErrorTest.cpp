#include "foundation/Error.h"
#include "foundation/Log.h"
#include "support/TestHome.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(Error, LogsInTheSharedForm)
{
    qputenv("XDG_STATE_HOME", freshTestFolder("error-log").toUtf8());
    log_initialize(true, 10);

    Error cause("NSPOSIXErrorDomain", 2, "No such file");
    Error error(Error::lanternwickDomain(), 5, "The database could not be read.", "Restore it from a backup.");
    error.addUnderlyingError(cause);
    error.setUserInfo({ { "path", "/tmp/x %1" } });
    Error::log("Failed loading database!", error);

    QFile file(log_file_path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[0].endsWith("ERROR Failed loading database!"));
    EXPECT_TRUE(lines[1].endsWith("ERROR - Lanternwick: The database could not be read."));
    EXPECT_TRUE(lines[2].endsWith("ERROR Recovery suggestion: Restore it from a backup."));
    EXPECT_TRUE(lines[3].endsWith("ERROR - Error Domain=NSPOSIXErrorDomain Code=2 \"No such file\""));
    EXPECT_TRUE(lines[4].endsWith("ERROR - /tmp/x %1"));
    log_initialize(false);
}
