#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/TemporaryFolder.h"

extern char** environ;

namespace NSQuilletTest {

// One run of the built quillet-cli in a process of its own, as a user starts it.
struct SProgramRun {
    int fExitCode = -1;  // 128 + the signal when it ended by one
    std::string fOut, fErr;
};

// The test process's environment with `changes` applied: a name mapped to a value sets it, to
// "" removes it. QUILLET_AUDIO_DEVICE and QUILLET_NULL_OUTPUT_RECORD are removed unless given, so
// that the tester's own settings decide nothing.
inline std::vector<std::string> ProgramEnvironment(std::map<std::string, std::string> changes) {
    changes.emplace("QUILLET_AUDIO_DEVICE", "");
    changes.emplace("QUILLET_NULL_OUTPUT_RECORD", "");
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        const std::string variable = *entry;
        if (changes.count(variable.substr(0, variable.find('='))) == 0) environment.push_back(variable);
    }
    for (const auto& [name, value] : changes) {
        if (!value.empty()) environment.push_back(name + "=" + value);
    }
    return environment;
}

// Runs QUILLET_CLI_PROGRAM with `arguments` in `changes`' environment. With `interruptWhen` the
// process gets SIGINT (Ctrl-C) as soon as that answers true, polled every 10 ms. A
// `fileSizeLimit` above 0 lets the process write no file beyond that many bytes: such a write
// fails with EFBIG (SIGXFSZ ignored), as on a full disk.
inline SProgramRun RunCliProgram(const std::vector<std::string>& arguments,
                                 const std::map<std::string, std::string>& changes,
                                 const std::function<bool()>& interruptWhen = nullptr, rlim_t fileSizeLimit = 0) {
    CTemporaryFolder folder;
    const std::string outPath = folder.PathOf("out"), errPath = folder.PathOf("err");
    // Everything the child needs is made before fork: after it, only exec and plain system calls.
    std::vector<std::string> argumentList = {QUILLET_CLI_PROGRAM};
    argumentList.insert(argumentList.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : argumentList) argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<std::string> environment = ProgramEnvironment(changes);
    std::vector<char*> envp;
    for (std::string& variable : environment) envp.push_back(variable.data());
    envp.push_back(nullptr);

    const pid_t child = fork();
    if (child == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || dup2(out, STDOUT_FILENO) < 0 || dup2(err, STDERR_FILENO) < 0) _exit(126);
        if (fileSizeLimit > 0) {
            const struct rlimit limit = {fileSizeLimit, fileSizeLimit};
            if (signal(SIGXFSZ, SIG_IGN) == SIG_ERR || setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(126);
        }
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    SProgramRun run;
    if (child < 0) return run;
    if (interruptWhen) {
        while (!interruptWhen() && waitpid(child, nullptr, WNOHANG) == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        kill(child, SIGINT);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    run.fExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
    run.fOut = ReadWholeFile(outPath);
    run.fErr = ReadWholeFile(errPath);
    return run;
}

}  // namespace NSQuilletTest
