#pragma once
// A fresh context with fake texts for every test.
#include "model/ObjectContext.h"
#include "support/FakeModelTexts.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

class ModelTest : public testing::Test {
protected:
    // Runs the rest of the current event-loop pass.
    static void finishPass() { QCoreApplication::processEvents(); }

    FakeModelTexts texts;
    ObjectContext context { texts };
    UndoManager& undo = context.undoManager();
};
