# Two commands do everything on a fresh Debian 12 machine:
#   make run    builds and opens the calculator
#   make test   builds and runs every test
#   make bench  builds and runs the three benchmarks (docs/performance.md)
#   make check  the quick part of `make test`: the Release build's suite alone
# Both first install the Debian packages that are missing (as root), or print
# the apt-get line to run (as any other user).

# Build tools, GoogleTest, Qt 6 Widgets, and free fonts with Verdana's metrics
# (fontconfig maps "Verdana" to them) so the labels size as they were drawn;
# then what the tests drive: X and Wayland servers, the accessibility bus, the
# Debian packaging tools and the checks of what is installed.
PACKAGES := cmake g++ make build-essential pkg-config libgtest-dev qt6-base-dev fonts-arkpandora \
            xvfb xdotool clang-14 libclang-rt-14-dev libbenchmark-dev \
            desktop-file-utils appstream binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev \
            dpkg-dev file at-spi2-core python3-pyatspi dbus-daemon dbus-bin x11-utils openbox \
            weston qt6-wayland debhelper lintian devscripts man-db groff-base \
            orca speech-dispatcher bsdutils

BUILD_DIR := build
# Tests whose tools are missing fail here instead of being skipped.
export VELMORIDA_REQUIRE_ALL_TESTS := 1
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build run test check test-repeat test-asan test-fuzz bench clean

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" -eq 0 ]; then \
	    echo "Installing:$$missing"; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	  else \
	    echo "Missing Debian packages. Run:"; \
	    echo "  sudo apt-get install -y$$missing"; \
	    exit 1; \
	  fi; \
	fi

configure: deps
	cmake --preset default

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/velmorida

# Everything CI runs: the Release suite with the full input sweep, the tests
# that start an X server or a D-Bus session five times more, side by side (a
# race there shows up as a red run), the whole suite again under
# AddressSanitizer and UndefinedBehaviorSanitizer, and bounded libFuzzer runs.
test: check test-repeat test-asan test-fuzz

check: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

SMOKE_REPEATS ?= 5
test-repeat: build
	cd $(BUILD_DIR) && ctest --output-on-failure -L smoke -j 2 --repeat until-fail:$(SMOKE_REPEATS)

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

test-fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	ctest --preset fuzz

# The core with Google Benchmark, keystroke latency through the widgets, and
# start-up on Xvfb; each beside its baseline in the same run.
bench: deps
	cmake --preset default -DVELMORIDA_BENCH=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)
	./$(BUILD_DIR)/bench/core_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	QT_QPA_PLATFORM=offscreen ./$(BUILD_DIR)/bench/keystroke_bench
	bench/startup.sh $(BUILD_DIR) 15

clean:
	rm -rf $(BUILD_DIR) build-asan build-fuzz
