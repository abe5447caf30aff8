// Runs a program and prints what it cost, for bench/run.
//
//   messlauf PROGRAM [ARG...]
//
// The program's standard output is read line by line and passed on, except
// that a line "<key>_ns <t>", t a time of the steady clock (CLOCK_MONOTONIC,
// the same for every process), becomes "<key>_ms <ms>", the milliseconds
// from just before the program was started to t. When the program has
// ended, wait4 gives its peak resident memory, CPU time and context
// switches:
//
//   maxrss_mb <MiB>   cpu_ms <user + system>   laufzeit_ms <start to end>
//   nvcsw <voluntary>   nivcsw <involuntary>
//
// The exit status is the program's; 1 when it was ended by a signal.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

long long jetztNs()
{
    timespec t {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1'000'000'000LL + t.tv_nsec;
}

double ms(const timeval &t)
{
    return t.tv_sec * 1e3 + t.tv_usec / 1e3;
}

// Passes one line on, turning a steady-clock time into milliseconds since
// `start`.
void weitergeben(const std::string &zeile, long long start)
{
    const std::size_t trenner = zeile.find(' ');
    const std::string schluessel = zeile.substr(0, trenner);
    if (trenner != std::string::npos && schluessel.size() > 3 && schluessel.ends_with("_ns")) {
        const long long zeit = std::atoll(zeile.c_str() + trenner + 1);
        std::printf("%s_ms %.3f\n", schluessel.substr(0, schluessel.size() - 3).c_str(), (zeit - start) / 1e6);
    } else {
        std::printf("%s\n", zeile.c_str());
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: messlauf PROGRAM [ARG...]\n");
        return 2;
    }
    int rohr[2];
    if (pipe(rohr) != 0) {
        std::perror("messlauf: pipe");
        return 1;
    }
    std::fflush(stdout);
    const long long start = jetztNs();
    const pid_t kind = fork();
    if (kind < 0) {
        std::perror("messlauf: fork");
        return 1;
    }
    if (kind == 0) {
        dup2(rohr[1], STDOUT_FILENO);
        close(rohr[0]);
        close(rohr[1]);
        execvp(argv[1], argv + 1);
        std::fprintf(stderr, "messlauf: cannot start %s: %s\n", argv[1], std::strerror(errno));
        _exit(127);
    }
    close(rohr[1]);
    FILE *ausgabe = fdopen(rohr[0], "r");
    char *zeile = nullptr;
    std::size_t groesse = 0;
    ssize_t laenge;
    while ((laenge = getline(&zeile, &groesse, ausgabe)) > 0) {
        if (zeile[laenge - 1] == '\n')
            zeile[laenge - 1] = '\0';
        weitergeben(zeile, start);
    }
    std::free(zeile);
    std::fclose(ausgabe);

    int status = 0;
    rusage verbrauch {};
    while (wait4(kind, &status, 0, &verbrauch) < 0) {
        if (errno != EINTR) {
            std::perror("messlauf: wait4");
            return 1;
        }
    }
    const long long ende = jetztNs();
    std::printf("maxrss_mb %.1f\n", verbrauch.ru_maxrss / 1024.0);
    std::printf("cpu_ms %.1f\n", ms(verbrauch.ru_utime) + ms(verbrauch.ru_stime));
    std::printf("laufzeit_ms %.1f\n", (ende - start) / 1e6);
    std::printf("nvcsw %ld\nnivcsw %ld\n", verbrauch.ru_nvcsw, verbrauch.ru_nivcsw);
    if (WIFSIGNALED(status)) {
        std::fprintf(stderr, "messlauf: %s ended by signal %d\n", argv[1], WTERMSIG(status));
        return 1;
    }
    return WEXITSTATUS(status);
}
