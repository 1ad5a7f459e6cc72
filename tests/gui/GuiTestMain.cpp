// Runs the widget tests inside one QApplication on the offscreen platform.
#include "edit/UndoHistory.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Every change a view's buffer reports must match the undo records made before it.
    CUndoHistory::checkRecords() = true;
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
