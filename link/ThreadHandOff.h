// SPDX-License-Identifier: Apache-2.0
#pragma once

// Objects the link thread hands to the GUI thread travel through Qt's event
// queue. Its locks live inside Qt, which the ThreadSanitizer build cannot see
// into, so the hand-over is told to the sanitizer here; elsewhere these do nothing.
#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

// Called by the sender after the object is complete, before posting it.
inline void HandOffRelease(const void* object) {
#if defined(__SANITIZE_THREAD__)
    __tsan_release(const_cast<void*>(object));
#else
    (void)object;
#endif
}

// Called by the receiver before it reads the object.
inline void HandOffAcquire(const void* object) {
#if defined(__SANITIZE_THREAD__)
    __tsan_acquire(const_cast<void*>(object));
#else
    (void)object;
#endif
}
