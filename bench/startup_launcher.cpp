// Starts two programs alternately, each with the frame probe preloaded, and
// measures for every start the time from exec to its first frame on screen
// (the first image sent to the X server), the time to the first Expose event
// (what this benchmark used to time), and the peak resident memory. Prints
// the medians, and the medians of the ratios of each start of the first
// program to the baseline's start beside it.
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

constexpr int kExposeTimeoutMs = 10000;  // for the first frame and Expose
// After the first Expose the program paints; it runs on a little so that the
// peak memory covers its first frame.
constexpr auto kSettle = std::chrono::milliseconds(400);
constexpr double kNanosPerMilli = 1e6;
constexpr double kKilobytesPerMegabyte = 1024;

struct Start {
  double frameMs = 0;
  double exposeMs = 0;
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
  // The probe writes "expose NANOS" and "frame NANOS", once each.
  std::string lines;
  long long expose = -1;
  long long frame = -1;
  const long long deadline = MonotonicNanos() + kExposeTimeoutMs * 1000000LL;
  while ((expose < 0 || frame < 0) && MonotonicNanos() < deadline) {
    pollfd ready{pipeFds[0], POLLIN, 0};
    if (poll(&ready, 1, kExposeTimeoutMs) != 1) break;
    char chunk[64];
    const ssize_t got = read(pipeFds[0], chunk, sizeof chunk);
    if (got <= 0) break;
    lines.append(chunk, static_cast<std::size_t>(got));
    for (std::size_t end; (end = lines.find('\n')) != std::string::npos; lines.erase(0, end + 1)) {
      const std::string line = lines.substr(0, end);
      const long long nanos = std::atoll(line.c_str() + line.find(' ') + 1);
      (line.rfind("frame", 0) == 0 ? frame : expose) = nanos;
    }
  }
  close(pipeFds[0]);
  const bool shown = expose >= 0 && frame >= 0;
  if (shown) std::this_thread::sleep_for(kSettle);
  kill(child, SIGTERM);
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  if (!shown) return false;
  start.frameMs = static_cast<double>(frame) / kNanosPerMilli;
  start.exposeMs = static_cast<double>(expose) / kNanosPerMilli;
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
  std::vector<double> frames[2];
  std::vector<double> exposes[2];
  std::vector<double> memory[2];
  // Each start against the baseline's next to it.
  std::vector<double> frameRatios;
  std::vector<double> exposeRatios;
  std::vector<double> memoryRatios;
  for (int run = 0; run < runs; ++run) {
    for (int which = 0; which < 2; ++which) {
      Start start;
      if (!Measure(probe, programs[which], start)) {
        std::fprintf(stderr, "%s showed no window\n", programs[which].c_str());
        return 1;
      }
      frames[which].push_back(start.frameMs);
      exposes[which].push_back(start.exposeMs);
      memory[which].push_back(start.megabytes);
    }
    frameRatios.push_back(frames[0].back() / frames[1].back());
    exposeRatios.push_back(exposes[0].back() / exposes[1].back());
    memoryRatios.push_back(memory[0].back() / memory[1].back());
  }
  std::printf("start-up: %d starts each, alternating, medians\n", runs);
  const char* names[] = {"calculator", "label window, one caption"};
  for (int which = 0; which < 2; ++which) {
    std::printf("  %-26s %6.1f ms to first frame  %6.1f ms to first Expose  %5.1f MB peak\n",
                names[which], Median(frames[which]), Median(exposes[which]),
                Median(memory[which]));
  }
  std::printf("  ratio: first frame %.2f x (goal: at most 1.2 x), first Expose %.2f x, "
              "memory %.2f x (goal: at most 1.1 x)\n",
              Median(frameRatios), Median(exposeRatios), Median(memoryRatios));
  return 0;
}
