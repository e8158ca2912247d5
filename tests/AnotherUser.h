// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs part of a test as another user: root writes through permissions, so
// checks of what a user may not write run in a child process that has
// changed to the user "nobody".

#include <functional>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace zorbinta::testing {

// What work reported, run in a child process as another user (as this one
// when not root); "no other user" when the change was refused.
inline std::string asAnotherUser(const std::function<std::string()>& work) {
    int fds[2];
    if (::pipe(fds) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        const std::string outcome =
            ::geteuid() != 0 || ::setuid(65534) == 0 ? work() : "no other user";
        [[maybe_unused]] const ssize_t put = ::write(fds[1], outcome.data(), outcome.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string outcome;
    char buffer[4096];
    for (ssize_t got; (got = ::read(fds[0], buffer, sizeof buffer)) > 0;) {
        outcome.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fds[0]);
    ::waitpid(child, nullptr, 0);
    return outcome;
}

}  // namespace zorbinta::testing
