// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QStringList>

#include <cstddef>

// The program keeps no log file; its last messages are kept in memory instead,
// for a report to attach. Every message still goes where it went before.
void KeepRecentMessages(std::size_t lines = 50);

// The kept messages, oldest first: "2026-12-09 10:15:02.123 warning quvo.link: ...".
QStringList RecentMessages();
