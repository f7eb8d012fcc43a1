// SPDX-License-Identifier: Apache-2.0
#include "link/D2xxLibrary.h"

#include <cstdlib>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

#if defined(_WIN32)
const char* const LibraryName = "ftd2xx.dll";
#elif defined(__APPLE__)
const char* const LibraryName = "libftd2xx.dylib";
#else
const char* const LibraryName = "libftd2xx.so";
#endif

void* OpenLibrary(const std::string& path, std::string& reason) {
#if defined(_WIN32)
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) {
        reason = "error " + std::to_string(GetLastError());
    }
    return reinterpret_cast<void*>(module);
#else
    // The library carries its own libusb: keep its symbols to itself.
    int flags = RTLD_NOW | RTLD_LOCAL;
    // The sanitizer runtimes refuse RTLD_DEEPBIND; their builds do without it.
#if defined(RTLD_DEEPBIND) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    flags |= RTLD_DEEPBIND;
#endif
    void* handle = dlopen(path.c_str(), flags);
    if (handle == nullptr) {
        const char* message = dlerror();
        reason = message != nullptr ? message : "unknown error";
    }
    return handle;
#endif
}

void* FindSymbol(void* library, const char* name) {
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(library), name));
#else
    return dlsym(library, name);
#endif
}

template <typename Function>
bool Bind(void* library, const char* name, Function& target, std::string& missing) {
    target = reinterpret_cast<Function>(FindSymbol(library, name));
    if (target == nullptr) {
        missing += missing.empty() ? name : std::string(", ") + name;
        return false;
    }
    return true;
}

} // namespace

bool LoadD2xxLibrary(FtdiApi& api, std::string& error) {
    std::vector<std::string> candidates;
    if (const char* configured = std::getenv("QUVO_D2XX_LIBRARY");
        configured != nullptr && *configured != '\0') {
        candidates.emplace_back(configured);
    } else {
        candidates.emplace_back(LibraryName);
#if !defined(_WIN32)
        candidates.emplace_back(std::string("/usr/local/lib/") + LibraryName);
#endif
    }

    error.clear();
    for (const std::string& path : candidates) {
        std::string reason;
        void* library = OpenLibrary(path, reason);
        if (library == nullptr) {
            error += "  " + path + ": " + reason + "\n";
            continue;
        }
        FtdiApi loaded;
        std::string missing;
        bool complete = true;
        std::string optionalMissing;
#define QUVO_D2XX_BIND(name, need, parameters)                                                     \
    complete &= Bind(library, "FT_" #name, loaded.name,                                            \
                     FtdiCallNeed::need == FtdiCallNeed::Required ? missing : optionalMissing) ||  \
                FtdiCallNeed::need == FtdiCallNeed::Optional;
        QUVO_FTDI_CALLS(QUVO_D2XX_BIND)
#undef QUVO_D2XX_BIND
        if (!complete) {
            error += "  " + path + ": missing functions " + missing + "\n";
            continue;
        }
        // The library stays loaded for the whole run.
        api = loaded;
        return true;
    }
    error = "The FTDI D2XX library could not be loaded. Tried:\n" + error;
    return false;
}
