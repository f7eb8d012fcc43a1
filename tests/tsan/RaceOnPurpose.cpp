// SPDX-License-Identifier: Apache-2.0
// Two threads write one plain integer without a lock. Under ThreadSanitizer with
// the project's suppressions this must still be reported: the suppressions cover
// Qt's own libraries, never the program's code.
#include <cstdio>
#include <thread>

namespace {

int Shared = 0;

void Increment() {
    for (int i = 0; i < 1000; ++i) {
        Shared = Shared + 1;
    }
}

} // namespace

int main() {
    std::thread first(Increment);
    std::thread second(Increment);
    first.join();
    second.join();
    std::printf("%d\n", Shared);
    return 0;
}
