// SPDX-License-Identifier: Apache-2.0
// GoogleTest main for suites that need a Qt application object.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Tests never need a screen; this also covers CTest's test discovery run.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", QUVO_TEST_PLATFORM);
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
