// Starts two programs alternately, each built with the first-paint probe,
// and compares the median time from spawn to first paint and the median
// peak memory.   startup_measure RUNS KELVORA BARE
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Sample {
    double ms;
    long maxRssKb;
};

long long nowNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

bool startOnce(const char* program, Sample& out) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    char* argv[] = {const_cast<char*>(program), nullptr};
    pid_t pid;
    const long long start = nowNs();
    const int rc = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (rc != 0) return false;
    char buf[64] = {};
    const ssize_t n = read(pipeFds[0], buf, sizeof buf - 1);
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (n <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
    out.ms = static_cast<double>(std::atoll(buf) - start) / 1e6;
    out.maxRssKb = usage.ru_maxrss;
    return true;
}

template <typename T>
T median(std::vector<T> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

// "build/bench/hand_form_first_paint" -> "hand_form".
static std::string name(const char* path) {
    std::string n = path;
    n = n.substr(n.rfind('/') + 1);
    return n.substr(0, n.rfind("_first_paint"));
}

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s RUNS KELVORA BARE\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    std::vector<double> ms[2];
    std::vector<long> kb[2];
    Sample s{};
    for (int w = 0; w < 2; ++w)  // warm the page cache for both
        if (!startOnce(argv[2 + w], s)) return 1;
    for (int i = 0; i < runs; ++i) {
        for (int w = 0; w < 2; ++w) {
            if (!startOnce(argv[2 + w], s)) {
                std::fprintf(stderr, "%s did not paint\n", argv[2 + w]);
                return 1;
            }
            ms[w].push_back(s.ms);
            kb[w].push_back(s.maxRssKb);
        }
    }
    const double kelvoraMs = median(ms[0]), bareMs = median(ms[1]);
    const long kelvoraKb = median(kb[0]), bareKb = median(kb[1]);
    const std::string first = name(argv[2]), second = name(argv[3]);
    std::printf("startup-%s: %.1f ms\nstartup-%s: %.1f ms\nstartup-ratio: %.3f\n", first.c_str(),
                kelvoraMs, second.c_str(), bareMs, kelvoraMs / bareMs);
    std::printf("memory-%s: %ld KiB\nmemory-%s: %ld KiB\nmemory-ratio: %.3f\n", first.c_str(),
                kelvoraKb, second.c_str(), bareKb, static_cast<double>(kelvoraKb) / bareKb);
    return 0;
}
