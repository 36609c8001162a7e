/* Preloaded into a program under test: reports, each once, the first Expose
 * event that arrives from the X server and the first image the program sends
 * to it (its first frame on screen), as a line "expose NANOS" or "frame
 * NANOS", the nanoseconds since STARTUP_PROBE_T0 (set by the launcher just
 * before exec, CLOCK_MONOTONIC), written to the file descriptor named by
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
typedef struct {
  unsigned int sequence;
} void_cookie;
enum { kExpose = 12, kTypeMask = 0x7f };

static int exposeReported;
static int frameReported;

static void report(const char* what, int* reported) {
  if (*reported) return;
  *reported = 1;
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  const char* t0 = getenv("STARTUP_PROBE_T0");
  const char* fd = getenv("STARTUP_PROBE_FD");
  if (t0 == NULL || fd == NULL) return;
  long long elapsed = (long long)now.tv_sec * 1000000000LL + now.tv_nsec - atoll(t0);
  char line[48];
  int length = snprintf(line, sizeof line, "%s %lld\n", what, elapsed);
  if (write(atoi(fd), line, (size_t)length) < 0) return;
}

static void check(const event_head* event) {
  if (event == NULL || (event->response_type & kTypeMask) != kExpose) return;
  report("expose", &exposeReported);
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

/* The two ways Qt sends a window's pixels: through shared memory, or in the
 * request itself. */
#define PUT_IMAGE(name, parameters, arguments)                 \
  void_cookie name parameters {                                \
    static void_cookie(*real) parameters;                      \
    if (real == NULL) *(void**)(&real) = dlsym(RTLD_NEXT, #name); \
    report("frame", &frameReported);                           \
    return real arguments;                                     \
  }

PUT_IMAGE(xcb_shm_put_image,
          (connection * c, uint32_t drawable, uint32_t gc, uint16_t total_width,
           uint16_t total_height, uint16_t src_x, uint16_t src_y, uint16_t src_width,
           uint16_t src_height, int16_t dst_x, int16_t dst_y, uint8_t depth, uint8_t format,
           uint8_t send_event, uint32_t shmseg, uint32_t offset),
          (c, drawable, gc, total_width, total_height, src_x, src_y, src_width, src_height, dst_x,
           dst_y, depth, format, send_event, shmseg, offset))
PUT_IMAGE(xcb_put_image,
          (connection * c, uint8_t format, uint32_t drawable, uint32_t gc, uint16_t width,
           uint16_t height, int16_t dst_x, int16_t dst_y, uint8_t left_pad, uint8_t depth,
           uint32_t data_len, const uint8_t* data),
          (c, format, drawable, gc, width, height, dst_x, dst_y, left_pad, depth, data_len, data))
