// Starts two programs alternately, each with the Expose probe preloaded, and
// measures for every start the time from exec to the first Expose event and
// the peak resident memory. Prints the medians, and the medians of the ratios
// of each start of the first program to the baseline's start beside it.
//
//   startup_launcher PROBE.so RUNS PROGRAM BASELINE
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kExposeTimeoutMs = 10000;
// After the first Expose the program paints; it runs on a little so that the
// peak memory covers its first frame.
constexpr auto kSettle = std::chrono::milliseconds(400);
constexpr double kNanosPerMilli = 1e6;
constexpr double kKilobytesPerMegabyte = 1024;

struct Start {
  double milliseconds = 0;
  double megabytes = 0;
};

long long MonotonicNanos() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

bool Measure(const std::string& probe, const std::string& program, Start& start) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return false;
  const pid_t child = fork();
  if (child == 0) {
    close(pipeFds[0]);
    setenv("LD_PRELOAD", probe.c_str(), 1);
    setenv("STARTUP_PROBE_FD", std::to_string(pipeFds[1]).c_str(), 1);
    setenv("STARTUP_PROBE_T0", std::to_string(MonotonicNanos()).c_str(), 1);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeFds[1]);
  pollfd ready{pipeFds[0], POLLIN, 0};
  char line[32] = {};
  bool exposed = poll(&ready, 1, kExposeTimeoutMs) == 1 && read(pipeFds[0], line, 31) > 0;
  close(pipeFds[0]);
  if (exposed) std::this_thread::sleep_for(kSettle);
  kill(child, SIGTERM);
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  if (!exposed) return false;
  start.milliseconds = static_cast<double>(std::atoll(line)) / kNanosPerMilli;
  start.megabytes = static_cast<double>(usage.ru_maxrss) / kKilobytesPerMegabyte;
  return true;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s PROBE.so RUNS PROGRAM BASELINE\n", argv[0]);
    return 2;
  }
  const std::string probe = argv[1];
  const int runs = std::atoi(argv[2]);
  const std::string programs[] = {argv[3], argv[4]};
  std::vector<double> times[2];
  std::vector<double> memory[2];
  std::vector<double> timeRatios;  // each start against the baseline's next to it
  std::vector<double> memoryRatios;
  for (int run = 0; run < runs; ++run) {
    for (int which = 0; which < 2; ++which) {
      Start start;
      if (!Measure(probe, programs[which], start)) {
        std::fprintf(stderr, "%s showed no window\n", programs[which].c_str());
        return 1;
      }
      times[which].push_back(start.milliseconds);
      memory[which].push_back(start.megabytes);
    }
    timeRatios.push_back(times[0].back() / times[1].back());
    memoryRatios.push_back(memory[0].back() / memory[1].back());
  }
  const double time[2] = {Median(times[0]), Median(times[1])};
  const double peak[2] = {Median(memory[0]), Median(memory[1])};
  std::printf("start-up: %d starts each, alternating, medians\n", runs);
  std::printf("  %-28s %7.1f ms to first Expose  %6.1f MB peak resident\n", "calculator", time[0],
              peak[0]);
  std::printf("  %-28s %7.1f ms to first Expose  %6.1f MB peak resident\n", "bare Qt label window",
              time[1], peak[1]);
  std::printf("  ratio time %.2f x (goal: at most 1.2 x), memory %.2f x (goal: at most 1.1 x)\n",
              Median(timeRatios), Median(memoryRatios));
  return 0;
}
