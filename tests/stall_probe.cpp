// Tells when the machine itself stalls: a real-time thread on each processor wakes every 2 ms
// and prints "<monotonic s> <late ms>" whenever it ran a sound server's block (11.6 ms) or more
// late. Nothing of the program runs here; a hole in the sound at such a moment is the machine's.
#include <pthread.h>
#include <sched.h>

#include <cstdio>
#include <ctime>
#include <thread>
#include <vector>

namespace {

constexpr long kPeriodNs = 2'000'000;
constexpr double kReportMs = 11.6;

double Seconds(const timespec& t) {
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

void Watch(int cpu) {
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(cpu, &set);
    pthread_setaffinity_np(pthread_self(), sizeof set, &set);
    // As high as the servers' own data threads. Without that right its own lateness would tell
    // nothing of the machine's, so it reports nothing and every hole counts.
    const sched_param param{88};
    if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) != 0) return;
    timespec due{};
    clock_gettime(CLOCK_MONOTONIC, &due);
    for (;;) {
        due.tv_nsec += kPeriodNs;
        if (due.tv_nsec >= 1'000'000'000) {
            due.tv_nsec -= 1'000'000'000;
            ++due.tv_sec;
        }
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr);
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const double lateMs = (Seconds(now) - Seconds(due)) * 1000;
        if (lateMs >= kReportMs) {
            std::printf("%.3f %.1f\n", Seconds(now), lateMs);
            std::fflush(stdout);
            due = now;
        }
    }
}

}  // namespace

int main() {
    std::vector<std::thread> watchers;
    for (unsigned cpu = 0; cpu < std::thread::hardware_concurrency(); ++cpu)
        watchers.emplace_back(Watch, static_cast<int>(cpu));
    for (auto& watcher : watchers) watcher.join();
}
