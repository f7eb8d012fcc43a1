// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QFile>

#include <cstddef>

#include <malloc.h>

// This process's resident memory in kB, from /proc; 0 where it cannot be read.
inline long ResidentKilobytes() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return 0;
}

// The bytes the heap holds for live allocations, over all of malloc's arenas.
inline std::size_t HeapInUseBytes() {
    return mallinfo2().uordblks;
}
