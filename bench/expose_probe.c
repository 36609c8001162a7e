/* Preloaded into a program under test: when the first Expose event arrives
 * from the X server, writes the nanoseconds since STARTUP_PROBE_T0 (set by the
 * launcher just before exec, CLOCK_MONOTONIC) to the file descriptor named by
 * STARTUP_PROBE_FD. It changes nothing else in the program. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

/* Only the first byte of an X event is read: its type, with bit 7 telling a
 * synthetic event. The connection is passed through untouched. */
typedef struct {
  uint8_t response_type;
} event_head;
typedef struct connection connection;
enum { kExpose = 12, kTypeMask = 0x7f };

static int reported;

static void check(const event_head* event) {
  if (reported || event == NULL || (event->response_type & kTypeMask) != kExpose) return;
  reported = 1;
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  const char* t0 = getenv("STARTUP_PROBE_T0");
  const char* fd = getenv("STARTUP_PROBE_FD");
  if (t0 == NULL || fd == NULL) return;
  long long elapsed = (long long)now.tv_sec * 1000000000LL + now.tv_nsec - atoll(t0);
  char line[32];
  int length = snprintf(line, sizeof line, "%lld\n", elapsed);
  if (write(atoi(fd), line, (size_t)length) < 0) return;
}

#define FORWARD(name)                             \
  event_head* name(connection* c) {               \
    static event_head* (*real)(connection*);      \
    if (real == NULL) {                           \
      *(void**)(&real) = dlsym(RTLD_NEXT, #name); \
    }                                             \
    event_head* event = real(c);                  \
    check(event);                                 \
    return event;                                 \
  }

FORWARD(xcb_wait_for_event)
FORWARD(xcb_poll_for_event)
FORWARD(xcb_poll_for_queued_event)
