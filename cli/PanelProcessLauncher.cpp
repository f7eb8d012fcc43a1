// SPDX-License-Identifier: Apache-2.0
#include "cli/PanelProcessLauncher.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The tool's end of the line to its launcher; -1 while there is none.
int LauncherLine = -1;
pid_t Launcher = -1;

// A request is one message: a tag byte and what the tag asks for. Launch: the
// arguments, each ended by a zero byte, with the descriptors of the process's
// output and errors beside them; the answer is the pid. Wait: the pid; the
// answer is how the process ended, as waitpid gives it. A failure is answered
// with a negated errno.
constexpr char LaunchTag = 'L';
constexpr char WaitTag = 'W';
constexpr std::size_t MostRequestBytes = 256 * 1024;
constexpr std::size_t DescriptorsBytes = 2 * sizeof(int);
constexpr const char* LauncherGone = "the launcher of the panels' processes has ended";

template <typename Call>
auto Retried(Call call) {
    auto result = call();
    while (result < 0 && errno == EINTR) {
        result = call();
    }
    return result;
}

void ReplaceDescriptor(int from, int to) {
    if (from != to) {
        ::dup2(from, to);
        ::close(from);
    }
}

std::vector<std::string> SplitArguments(const char* bytes, std::size_t count) {
    std::vector<std::string> arguments;
    std::string argument;
    for (std::size_t i = 0; i < count; ++i) {
        if (bytes[i] == '\0') {
            arguments.push_back(argument);
            argument.clear();
        } else {
            argument.push_back(bytes[i]);
        }
    }
    return arguments;
}

// In the launcher: a launch request answered. Its pid or a negated errno.
std::int32_t Launch(int line, const char* request, std::size_t count, const msghdr& message,
                    const PanelProcessMain& panelMain) {
    int descriptors[2] = {-1, -1};
    const cmsghdr* header = CMSG_FIRSTHDR(&message);
    if (header != nullptr && header->cmsg_level == SOL_SOCKET && header->cmsg_type == SCM_RIGHTS &&
        header->cmsg_len == CMSG_LEN(DescriptorsBytes)) {
        std::memcpy(descriptors, CMSG_DATA(header), DescriptorsBytes);
    }
    std::int32_t reply = -EINVAL;
    if (descriptors[0] >= 0 && descriptors[1] >= 0 &&
        (message.msg_flags & (MSG_TRUNC | MSG_CTRUNC)) == 0) {
        // The panel's process takes its arguments apart: after a fork, every page
        // the launcher writes is copied first, so it touches no heap between forks.
        const pid_t panel = ::fork();
        if (panel == 0) {
            ::close(line);
            ::prctl(PR_SET_NAME, "quvo8261-panel");
            ReplaceDescriptor(descriptors[0], STDOUT_FILENO);
            ReplaceDescriptor(descriptors[1], STDERR_FILENO);
            const int code = panelMain(SplitArguments(request, count));
            // Its memory goes with it: the libraries' clean-up at exit would cost
            // a good part of the panel's work.
            std::fflush(nullptr);
            ::_exit(code);
        }
        reply = panel < 0 ? -errno : panel;
    }
    for (const int descriptor : descriptors) {
        if (descriptor >= 0) {
            ::close(descriptor);
        }
    }
    return reply;
}

// In the launcher: a wait request answered.
std::int32_t Wait(const char* request, std::size_t count) {
    pid_t panel = 0;
    if (count != sizeof panel) {
        return -EINVAL;
    }
    std::memcpy(&panel, request, sizeof panel);
    int status = 0;
    return Retried([&] { return ::waitpid(panel, &status, 0); }) < 0 ? -errno : status;
}

[[noreturn]] void Serve(int line, const PanelProcessPreparation& prepare,
                        const PanelProcessMain& panelMain) {
    // Its copy of the tool's output would keep a pipe open after the tool ended.
    const int nothing = ::open("/dev/null", O_WRONLY);
    if (nothing >= 0) {
        ::dup2(nothing, STDOUT_FILENO);
        ::dup2(nothing, STDERR_FILENO);
        if (nothing > STDERR_FILENO) {
            ::close(nothing);
        }
    }
    prepare();
    // Not filled in advance: pages the requests never reach stay out of the
    // launcher's memory, and out of what every fork copies.
    const auto request = std::make_unique_for_overwrite<char[]>(MostRequestBytes);
    for (;;) {
        iovec part{request.get(), MostRequestBytes};
        alignas(cmsghdr) char control[CMSG_SPACE(DescriptorsBytes)];
        msghdr message{};
        message.msg_iov = &part;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t got = Retried([&] { return ::recvmsg(line, &message, MSG_CMSG_CLOEXEC); });
        if (got <= 0) {
            ::_exit(0); // the tool has ended
        }
        const char* body = request.get() + 1;
        const std::size_t count = std::size_t(got) - 1;
        const std::int32_t reply = request[0] == LaunchTag
                                       ? Launch(line, body, count, message, panelMain)
                                   : request[0] == WaitTag ? Wait(body, count)
                                                           : -EINVAL;
        Retried([&] { return ::send(line, &reply, sizeof reply, MSG_NOSIGNAL); });
    }
}

// Sends one request to the launcher; false when the launcher is gone.
bool Send(const std::string& request, const int* descriptors) {
    iovec part{const_cast<char*>(request.data()), request.size()};
    alignas(cmsghdr) char control[CMSG_SPACE(DescriptorsBytes)] = {};
    msghdr message{};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    if (descriptors != nullptr) {
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        cmsghdr* header = CMSG_FIRSTHDR(&message);
        header->cmsg_level = SOL_SOCKET;
        header->cmsg_type = SCM_RIGHTS;
        header->cmsg_len = CMSG_LEN(DescriptorsBytes);
        std::memcpy(CMSG_DATA(header), descriptors, DescriptorsBytes);
    }
    return LauncherLine >= 0 &&
           Retried([&] { return ::sendmsg(LauncherLine, &message, MSG_NOSIGNAL); }) >= 0;
}

// The launcher's answer to the oldest request not yet answered.
bool Receive(std::int32_t& reply) {
    return Retried([&] { return ::recv(LauncherLine, &reply, sizeof reply, 0); }) ==
           ssize_t(sizeof reply);
}

} // namespace

bool StartPanelProcessLauncher(const PanelProcessPreparation& prepare, PanelProcessMain panelMain) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) {
        return false;
    }
    const pid_t launcher = ::fork();
    if (launcher < 0) {
        ::close(ends[0]);
        ::close(ends[1]);
        return false;
    }
    if (launcher == 0) {
        ::close(ends[0]);
        Serve(ends[1], prepare, panelMain);
    }
    ::close(ends[1]);
    LauncherLine = ends[0];
    Launcher = launcher;
    return true;
}

void StopPanelProcessLauncher() {
    if (LauncherLine < 0) {
        return;
    }
    ::close(LauncherLine); // the launcher ends when it sees the line closed
    LauncherLine = -1;
    Retried([] { return ::waitpid(Launcher, nullptr, 0); });
    Launcher = -1;
}

std::vector<pid_t> LaunchPanelProcesses(std::vector<PanelProcessRequest>& requests) {
    // All requests go before any answer is read: the launcher forks one process
    // after another without waiting for this process to be scheduled between.
    std::vector<pid_t> launched(requests.size(), -1);
    std::size_t sent = 0;
    for (PanelProcessRequest& request : requests) {
        std::string message(1, LaunchTag);
        for (const std::string& argument : request.arguments) {
            message += argument;
            message.push_back('\0');
        }
        const int descriptors[2] = {request.output, request.errors};
        if (message.size() > MostRequestBytes) {
            request.error = qt_error_string(E2BIG);
            break;
        }
        if (!Send(message, descriptors)) {
            request.error = LauncherGone;
            break;
        }
        ++sent;
    }
    for (std::size_t i = 0; i < sent; ++i) {
        std::int32_t reply = 0;
        if (!Receive(reply)) {
            requests[i].error = LauncherGone;
        } else if (reply < 0) {
            requests[i].error = qt_error_string(-reply);
        } else {
            launched[i] = pid_t(reply);
        }
    }
    for (std::size_t i = sent; i < requests.size(); ++i) {
        if (requests[i].error.isEmpty()) {
            requests[i].error = "not started after an earlier panel's start failed";
        }
    }
    return launched;
}

int WaitForPanelProcess(pid_t panel) {
    std::string request(1, WaitTag);
    request.append(reinterpret_cast<const char*>(&panel), sizeof panel);
    std::int32_t reply = 0;
    // Should the launcher be gone, its panels' results are still what they printed.
    return Send(request, nullptr) && Receive(reply) && reply >= 0 ? int(reply) : 0;
}

bool AsksForAllPanels(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--") {
            return false;
        }
        if (argument == "--all") {
            return true;
        }
    }
    return false;
}
