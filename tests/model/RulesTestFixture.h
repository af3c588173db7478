#pragma once
// Conditions and items judged against hand-filled snapshots, with the time
// zone pinned so that the schedule's local calendar is the same everywhere.
#include "ModelTestFixture.h"
#include "model/ExecutionValidationParameters.h"

#include <QDateTime>
#include <QTimeZone>
#include <cstdlib>
#include <ctime>

class RulesTest : public ModelTest {
protected:
    void SetUp() override
    {
        // Central European time without needing the zone database: UTC+1 in winter.
        setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
        tzset();
    }

    // A winter local time, so the zone is UTC+1.
    static QDateTime at(int year, int month, int day, int hour, int minute)
    {
        return QDateTime(QDate(year, month, day), QTime(hour, minute));
    }

    std::shared_ptr<ExecutionValidationParameters> parameters = ExecutionValidationParameters::create();
    ExecutionValidationParameters& params = *parameters;
};
