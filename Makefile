# Two commands do everything on a fresh Debian 12 machine:
#   make run      builds and opens the calculator
#   make test     builds and runs every test
# and besides them:
#   make check    the quick part of `make test`: the Release build's suite alone
#   make windows  velmorida.exe for Windows, cross-built (build-windows/)
#   make windows-package  its MSI installer and portable zip (build-windows/),
#                 and the SHA-256 sums of the release files
#   make verify-release  the release files built again from this commit in
#                 another folder, compared byte for byte with these
#   make web      the browser edition, one HTML file (build-web/velmorida.html),
#                 and the same page as an installable app (build-web/site/)
#   make bench    the four benchmarks (docs/performance.md)
# Each first installs the Debian packages it is missing (as root), or prints
# the apt-get line to run (as any other user); `make run` needs only the
# first list.

# To build and run the calculator: the compiler, CMake, Qt 6 Widgets, and
# free fonts with Verdana's metrics (fontconfig maps "Verdana" to them) so the
# labels size as they were drawn.
RUN_PACKAGES := cmake g++ make pkg-config qt6-base-dev fonts-arkpandora
# To cross-build velmorida.exe: mingw-w64 with posix threads, and
# GoogleTest's sources for its test suite; wixl for its MSI, and libmsi's
# Python bindings, which give the MSI the commit's time and a package code
# derived from its files, where wixl would take the clock's and a random one;
# dpkg-dev, whose dpkg-parsechangelog gives that time outside a git checkout.
WINDOWS_PACKAGES := g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev \
                    libgtest-dev wixl python3 python3-gi gir1.2-libmsi-1.0 dpkg-dev
# To build the browser page: emscripten, and acorn for its optimiser; the
# build's own tools, which make the page, the site and its icons, are built
# for this machine with its compiler and Qt.
WEB_PACKAGES := emscripten node-acorn g++ qt6-base-dev
# npm fetches axe-core for the page's accessibility test; a machine whose
# Node is not Debian's has its own npm, which Debian's would conflict with.
NPM_PACKAGE := $(if $(shell command -v npm 2>/dev/null),,npm)
# What the tests need besides: GoogleTest, the sanitizers and libFuzzer,
# Google Benchmark, X and Wayland servers, a window manager, the
# accessibility bus and Orca, Wine with the X clipboard tool, the desktop
# themes the window is measured under (GNOME's through Qt's GTK platform
# theme, qt6ct's schemes) with ImageMagick and Python for the screenshots,
# the Debian packaging tools and the checks of what is installed.
TEST_PACKAGES := $(RUN_PACKAGES) $(WINDOWS_PACKAGES) build-essential \
                 clang-14 libclang-rt-14-dev libbenchmark-dev \
                 xvfb xdotool x11-utils openbox weston qt6-wayland \
                 at-spi2-core python3-pyatspi dbus-daemon dbus-bin orca speech-dispatcher bsdutils \
                 wine wine64 xclip msitools unzip \
                 qt6-gtk-platformtheme qt6ct imagemagick python3 \
                 desktop-file-utils appstream dpkg-dev file debhelper lintian devscripts man-db \
                 groff-base \
                 $(WEB_PACKAGES) chromium chromium-driver python3-selenium $(NPM_PACKAGE)

BUILD_DIR := build
WINDOWS_DIR := build-windows
WEB_DIR := build-web
# The accessibility engine the page is tested with, from npm.
AXE_CORE := axe-core@4.10.2
# Tests whose tools are missing fail here instead of being skipped.
export VELMORIDA_REQUIRE_ALL_TESTS := 1
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps-run deps-windows deps-web deps-test build run windows windows-package web test-web \
        test check \
        test-repeat test-asan test-fuzz test-windows bench clean smoke-repeats sanitizer-builds \
        asan-build fuzz-build asan-tests fuzz-tests

all: build

# $(call install_missing,PACKAGES)
define install_missing
	@missing=""; \
	for p in $(1); do \
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
endef

deps-run:
	$(call install_missing,$(RUN_PACKAGES))

deps-windows:
	$(call install_missing,$(WINDOWS_PACKAGES) $(RUN_PACKAGES))

deps-web:
	$(call install_missing,$(WEB_PACKAGES) cmake make)

deps-test:
	$(call install_missing,$(TEST_PACKAGES))

# The program alone, without the tests (and without GoogleTest).
build: deps-run
	cmake --preset default -DBUILD_TESTING=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS) --target velmorida icons

run: build
	./$(BUILD_DIR)/velmorida

windows: deps-windows
	cmake --preset windows
	cmake --build --preset windows -j $(JOBS)

windows-package: windows
	cmake --build --preset windows -j $(JOBS) --target windows-package

web: deps-web
	cmake --preset web
	cmake --build --preset web -j $(JOBS) --target velmorida_page velmorida_site
	@echo "$(WEB_DIR)/velmorida.html: $$(stat -c %s $(WEB_DIR)/velmorida.html) bytes"
	@echo "$(WEB_DIR)/site/: $$(ls $(WEB_DIR)/site | wc -l) files, $$(cat $(WEB_DIR)/site/* | wc -c) bytes"

# The release files (velmorida.exe, its symbol file, the MSI, the zip and
# the page) built a second time from this commit, in a fresh clone in
# another folder under another time zone, locale and umask, and compared
# byte for byte with these; it ends with their SHA-256 sums.
.PHONY: verify-release
verify-release: windows-package web
	tests/release/verify_release.sh

# The browser edition: the core tests under Node, the transcript compared
# with the native build's, the page's size, the page in headless Chromium
# and axe-core on it, and the installable site served over HTTP.
test-web: deps-test
	cmake --preset default -DBUILD_TESTING=ON
	cmake --build $(BUILD_DIR) -j $(JOBS) --target transcript
	cmake --preset web
	nice cmake --build --preset web -j $(JOBS)
	npm install --prefix $(WEB_DIR)/axe --no-audit --no-fund --no-save $(AXE_CORE)
	ctest --preset web -j $(JOBS) $(call junit,web)

# Everything CI runs: the Release suite with the full input sweep and the
# install check (which builds the Debian package), the browser edition in
# headless Chromium with its core tests under Node, the Windows build with its
# tests under Wine, the tests that start an X server, a Wayland compositor,
# Orca, Wine or a D-Bus session five times more, side by side (a race there
# shows up as a red run), the whole suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and bounded libFuzzer runs. The sanitizer
# builds take the processor time the repeated tests leave idle, at a lower
# priority, so the tests also run on a busy machine.
# ctest writes a JUnit file of each suite for the summary when
# VELMORIDA_TEST_LOGS names a folder.
junit = $(if $(VELMORIDA_TEST_LOGS),--output-junit $(abspath $(VELMORIDA_TEST_LOGS))/$(1).xml)
# Every suite runs to its end even when one fails, and a summary closes the
# output: each suite, passed or failed, and each failing test's first lines
# (tests/run_suites.sh; the logs stay in test-logs/).
test: deps-test
	tests/run_suites.sh

check: deps-test
	cmake --preset default -DBUILD_TESTING=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) $(call junit,release)

test-windows: deps-test
	cmake --preset windows
	cmake --build --preset windows -j $(JOBS) --target all windows-package
	ctest --preset windows -j $(JOBS) $(call junit,windows)

test-repeat: check test-windows smoke-repeats
test-asan: deps-test asan-build asan-tests
test-fuzz: deps-test fuzz-build fuzz-tests

# The steps of the targets above, without their prerequisites.
SMOKE_REPEATS ?= 5
# The smoke groups of both builds at once.
smoke-repeats:
	tests/repeat_smoke.sh $(SMOKE_REPEATS) $(BUILD_DIR) $(WINDOWS_DIR)

sanitizer-builds: asan-build fuzz-build

asan-build:
	cmake --preset asan
	nice -n 10 cmake --build --preset asan -j $(JOBS)

fuzz-build:
	cmake --preset fuzz
	nice -n 10 cmake --build --preset fuzz -j $(JOBS)

# The package build and its lint ran in `check`; here the sanitizers watch
# the code, not the packaging.
asan-tests:
	ctest --preset asan -j $(JOBS) -LE install $(call junit,sanitizers)

fuzz-tests:
	ctest --preset fuzz -j $(JOBS) $(call junit,fuzz)

# The core with Google Benchmark, keystroke latency through the widgets,
# start-up on Xvfb, and the browser edition in headless Chromium; each beside
# its baseline in the same run.
bench: deps-test
	cmake --preset default -DVELMORIDA_BENCH=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)
	./$(BUILD_DIR)/bench/core_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	QT_QPA_PLATFORM=offscreen ./$(BUILD_DIR)/bench/keystroke_bench
	bench/startup.sh $(BUILD_DIR) 15
	$(MAKE) --no-print-directory web
	/usr/bin/python3 bench/web_bench.py $(WEB_DIR)/velmorida.html 15

clean:
	rm -rf $(BUILD_DIR) $(WINDOWS_DIR) $(WEB_DIR) build-asan build-fuzz
