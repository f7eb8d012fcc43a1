// SPDX-License-Identifier: Apache-2.0
#include "link/RecentMessages.h"

#include <QDateTime>

#include <deque>
#include <mutex>

namespace {

struct Kept {
    std::mutex mutex;
    std::deque<QString> lines;
    std::size_t most = 0;
    bool installed = false;
    QtMessageHandler previous = nullptr;
};

Kept& Messages() {
    static Kept kept;
    return kept;
}

const char* TypeName(QtMsgType type) {
    switch (type) {
    case QtDebugMsg:
        return "debug";
    case QtInfoMsg:
        return "info";
    case QtWarningMsg:
        return "warning";
    case QtCriticalMsg:
        return "critical";
    case QtFatalMsg:
        return "fatal";
    }
    return "message";
}

void Keep(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    Kept& kept = Messages();
    QtMessageHandler previous = nullptr;
    {
        const std::lock_guard lock(kept.mutex);
        kept.lines.push_back(
            QDateTime::currentDateTime().toString("yyyy-MM-dd hh:mm:ss.zzz") + " " +
            TypeName(type) + " " +
            (context.category != nullptr ? QString(context.category) : QString("default")) + ": " +
            message);
        while (kept.lines.size() > kept.most) {
            kept.lines.pop_front();
        }
        previous = kept.previous;
    }
    if (previous != nullptr) {
        previous(type, context, message);
    }
}

} // namespace

void KeepRecentMessages(std::size_t lines) {
    Kept& kept = Messages();
    const std::lock_guard lock(kept.mutex);
    kept.most = lines;
    if (!kept.installed) {
        kept.installed = true;
        kept.previous = qInstallMessageHandler(Keep);
    }
}

QStringList RecentMessages() {
    Kept& kept = Messages();
    const std::lock_guard lock(kept.mutex);
    return QStringList(kept.lines.begin(), kept.lines.end());
}
