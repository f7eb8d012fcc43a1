// SPDX-License-Identifier: Apache-2.0
#include "link/RecentMessages.h"

#include <QLoggingCategory>

#include <gtest/gtest.h>

namespace {

Q_LOGGING_CATEGORY(lcTestMessages, "quvo.test")

QStringList Passed;

void Pass(QtMsgType, const QMessageLogContext&, const QString& message) {
    Passed << message;
}

// The last messages are kept for a report, oldest first with their type and
// category, and still reach the handler that was there before.
TEST(RecentMessages, KeepsTheLastOnesAndPassesEachOn) {
    const QtMessageHandler before = qInstallMessageHandler(Pass);
    KeepRecentMessages(3);
    KeepRecentMessages(3); // a second call installs nothing twice
    for (int i = 1; i <= 5; ++i) {
        qCWarning(lcTestMessages).noquote() << "message" << i;
    }
    const QStringList kept = RecentMessages();
    ASSERT_EQ(kept.size(), 3);
    EXPECT_TRUE(kept[0].endsWith(" warning quvo.test: message 3")) << kept[0].toStdString();
    EXPECT_TRUE(kept[2].endsWith(" warning quvo.test: message 5")) << kept[2].toStdString();
    EXPECT_EQ(Passed,
              QStringList({"message 1", "message 2", "message 3", "message 4", "message 5"}));
    qInstallMessageHandler(before);
}

} // namespace
