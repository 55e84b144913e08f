// Starting programs: wait for an exit code, or detach; the shell "open".
#include "platform/platform.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace platform {
namespace {

struct Argv {
    explicit Argv(const std::vector<std::string>& args) {
        for (const auto& a : args) ptrs.push_back(const_cast<char*>(a.c_str()));
        ptrs.push_back(nullptr);
    }
    std::vector<char*> ptrs;
};

// Spawns argv[0] (searched on PATH) with no descriptors beyond the standard
// three. Returns the child's pid, or -1 when it could not be started.
pid_t Spawn(const std::vector<std::string>& args, bool newSession) {
    if (args.empty() || args[0].empty()) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    if (posix_spawn_file_actions_init(&actions) != 0) return -1;
    if (posix_spawnattr_init(&attr) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return -1;
    }
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    sigset_t def;
    sigemptyset(&def);
    sigaddset(&def, SIGPIPE);
    sigaddset(&def, SIGINT);
    sigaddset(&def, SIGTERM);
    posix_spawnattr_setsigdefault(&attr, &def);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (newSession) flags |= POSIX_SPAWN_SETSID;
    posix_spawnattr_setflags(&attr, flags);
    Argv argv(args);
    pid_t pid = -1;
    int rc = posix_spawnp(&pid, argv.ptrs[0], &actions, &attr, argv.ptrs.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    // glibc reports a failed exec through the return value and has reaped
    // that child already.
    return rc == 0 ? pid : -1;
}

bool WaitFor(pid_t pid, int& status) {
    for (;;) {
        pid_t r = ::waitpid(pid, &status, 0);
        if (r == pid) return true;
        if (r < 0 && errno == EINTR) continue;
        return false;
    }
}

std::vector<std::string> ProgramsFor(ShellTarget kind) {
    const char* env = nullptr;
    std::vector<std::string> list;
    switch (kind) {
    case ShellTarget::Spreadsheet:
        env = "TRAKVUE_SPREADSHEET";
        list = {"libreoffice --calc", "localc", "gnumeric"};
        break;
    case ShellTarget::TextEditor:
        env = "TRAKVUE_TEXT_EDITOR";
        list = {"gedit", "mousepad", "pluma", "kate", "xed", "leafpad", "xdg-open"};
        break;
    case ShellTarget::HelpViewer:
        env = "TRAKVUE_HELP_VIEWER";
        list = {"xdg-open", "sensible-browser", "firefox-esr", "firefox", "chromium"};
        break;
    }
    std::string over = GetEnv(env);
    if (!over.empty()) list.insert(list.begin(), over);
    return list;
}

} // namespace

std::vector<std::string> SplitCommandLine(const char* commandLine) {
    std::vector<std::string> args;
    if (!commandLine) return args;
    std::string cur;
    bool inArg = false, quoted = false;
    for (const char* p = commandLine; *p; ++p) {
        char c = *p;
        if (c == '\\' && p[1] == '"') {
            cur += '"';
            inArg = true;
            ++p;
        } else if (c == '"') {
            quoted = !quoted;
            inArg = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inArg) args.push_back(cur);
            cur.clear();
            inArg = false;
        } else {
            cur += c;
            inArg = true;
        }
    }
    if (inArg) args.push_back(cur);
    return args;
}

bool RunAndWait(const char* commandLine, int& exitCode) {
    exitCode = -1;
    pid_t pid = Spawn(SplitCommandLine(commandLine), false);
    if (pid < 0) return false;
    int status = 0;
    if (!WaitFor(pid, status)) return false;
    if (WIFEXITED(status)) {
        exitCode = WEXITSTATUS(status);
        return true;
    }
    if (WIFSIGNALED(status)) {
        exitCode = 128 + WTERMSIG(status);
        return true;
    }
    return false;
}

bool StartDetached(const std::vector<std::string>& argv) {
    pid_t pid = Spawn(argv, true);
    if (pid < 0) return false;
    std::thread([pid] {
        int status = 0;
        WaitFor(pid, status);
    }).detach();
    return true;
}

bool ProgramOnPath(const std::string& name) {
    if (name.empty()) return false;
    auto executable = [](const std::string& p) {
        struct stat st;
        return ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(p.c_str(), X_OK) == 0;
    };
    if (name.find('/') != std::string::npos) return executable(name);
    std::string path = GetEnv("PATH");
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(':', start);
        if (end == std::string::npos) end = path.size();
        std::string dir = path.substr(start, end - start);
        if (dir.empty()) dir = ".";
        if (executable(dir + "/" + name)) return true;
        start = end + 1;
    }
    return false;
}

bool ShellOpen(ShellTarget kind, const std::string& document) {
    for (const std::string& program : ProgramsFor(kind)) {
        std::vector<std::string> argv = SplitCommandLine(program.c_str());
        if (argv.empty() || !ProgramOnPath(argv[0])) continue;
        argv.push_back(document);
        if (StartDetached(argv)) return true;
    }
    return false;
}

bool SetLowPriority(int niceValue) {
    return ::setpriority(PRIO_PROCESS, 0, niceValue) == 0;
}

} // namespace platform
