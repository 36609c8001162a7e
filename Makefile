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
# the apt-get line to run (as any other user); `make run` needs the fewest.

# The packages each command needs come from debian/control, the one list:
# its Build-Depends under the build profiles of each command (the list says
# what each profile is for), with build-essential, which Debian's builds take
# for granted (the compiler, make, dpkg-dev), and the package's Recommends,
# the fonts with Verdana's metrics the labels are drawn for and Qt's Wayland
# platform. debhelper, which builds the Debian package, only the tests need.

# $(call control_packages,FIELD,PROFILES): the packages debian/control's
# FIELD names for a build under PROFILES: each entry with no restriction, or
# with a <...> whose every term holds (a profile that is among PROFILES, a
# !profile that is not); versions and architectures dropped, and
# debhelper-compat as debhelper, which provides it. Read with awk, as
# dpkg-dev's own tools are not there before the first install.
control_packages = $(shell awk -v field='$(1)' -v profiles='$(2)' '$(control_awk)' debian/control)
define control_awk
BEGIN { split(profiles, names, " "); for (i in names) active[names[i]] = 1 }
/^#/ { next }
/^[^ \t]/ { reading = index($$0, field ":") == 1; if (reading) sub(/^[^:]*:/, "") }
reading { text = text " " $$0 }
END {
  count = split(text, entries, ",")
  for (i = 1; i <= count; i++) {
    name = entries[i]; sub(/^[ \t]+/, "", name); sub(/[ \t(<\[:].*$$/, "", name)
    if (name == "debhelper-compat") name = "debhelper"
    rest = entries[i]; needed = rest !~ /</
    while (!needed && match(rest, /<[^>]*>/)) {
      terms = split(substr(rest, RSTART + 1, RLENGTH - 2), term, " ")
      rest = substr(rest, RSTART + RLENGTH); needed = 1
      for (j = 1; j <= terms; j++)
        if (term[j] ~ /^!/ ? (substr(term[j], 2) in active) : !(term[j] in active)) needed = 0
    }
    if (needed && name != "") print name
  }
}
endef

RECOMMENDED := $(call control_packages,Recommends,)
without_debhelper = $(filter-out debhelper,$(1))
# To build and run the calculator, without its tests.
RUN_PACKAGES := build-essential $(RECOMMENDED) \
  $(call without_debhelper,$(call control_packages,Build-Depends,nocheck))
# To cross-build velmorida.exe with its tests, and its MSI.
WINDOWS_PACKAGES := build-essential \
  $(call without_debhelper,$(call control_packages,Build-Depends,nocheck pkg.velmorida.windows))
# To build the browser page and its site.
WEB_PACKAGES := build-essential \
  $(call without_debhelper,$(call control_packages,Build-Depends,nocheck pkg.velmorida.web))
# npm fetches the page's tests' packages (NPM_PACKAGES), from Debian only
# where the Node on the path has no npm of its own.
NPM_PROFILE := $(if $(shell command -v npm 2>/dev/null),,pkg.velmorida.npm)
# Everything, for every build and test.
TEST_PACKAGES := build-essential $(RECOMMENDED) $(call control_packages,Build-Depends,\
                   pkg.velmorida.windows pkg.velmorida.web pkg.velmorida.test $(NPM_PROFILE))

BUILD_DIR := build
WINDOWS_DIR := build-windows
WEB_DIR := build-web
# The npm packages the page's tests use, each as FOLDER=PACKAGE@VERSION, in
# its folder under the web build (the tests look for them there): axe-core,
# the accessibility engine, and puppeteer-core, which drives Firefox over
# WebDriver BiDi (its 25.x wants a newer Node than Debian's).
NPM_PACKAGES := axe=axe-core@4.14.1 puppeteer=puppeteer-core@24.43.1
# Tests whose tools are missing fail here instead of being skipped.
export VELMORIDA_REQUIRE_ALL_TESTS := 1
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps-run deps-windows deps-web deps-test deps-npm build run windows windows-package web \
        test-web test check test-package \
        test-repeat test-asan test-fuzz test-windows bench clean smoke-repeats sanitizer-builds \
        asan-build fuzz-build asan-tests fuzz-tests web-tests

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
	    echo "Missing Debian packages. Run, as root or with sudo:"; \
	    echo "  apt-get install -y$$missing"; \
	    exit 1; \
	  fi; \
	fi
endef

deps-run:
	$(call install_missing,$(RUN_PACKAGES))

deps-windows:
	$(call install_missing,$(WINDOWS_PACKAGES))

deps-web:
	$(call install_missing,$(WEB_PACKAGES))

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
# and axe-core on it, Orca reading it in Chromium on Xvfb, and the installable
# site served over HTTP.
test-web: deps-npm
	@$(MAKE) --no-print-directory web-tests

# The npm packages, fetched with the Debian ones before any suite starts;
# where npm cannot fetch one, the tests that need it fail with npm's reason
# and every other test runs.
deps-npm: deps-test
	tests/web/fetch_npm.sh $(WEB_DIR) $(NPM_PACKAGES)

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
test: deps-test deps-npm
	tests/run_suites.sh

check: deps-test
	cmake --preset default -DBUILD_TESTING=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) -LE package $(call junit,release)

# The Debian package built from the tree as a distribution builds it, and
# linted: it compiles the program again.
test-package: deps-test
	cmake --preset default -DBUILD_TESTING=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)
	cd $(BUILD_DIR) && ctest --output-on-failure -L package $(call junit,package)

test-windows: deps-test
	cmake --preset windows
	cmake --build --preset windows -j $(JOBS) --target all windows-package
	ctest --preset windows -j $(JOBS) $(call junit,windows)

test-repeat: check test-windows smoke-repeats
test-asan: deps-test asan-build asan-tests
test-fuzz: deps-test fuzz-build fuzz-tests

# The steps of the targets above, without their prerequisites.
web-tests:
	cmake --preset default -DBUILD_TESTING=ON
	cmake --build $(BUILD_DIR) -j $(JOBS) --target sweep
	cmake --preset web
	nice cmake --build --preset web -j $(JOBS)
	ctest --preset web -j $(JOBS) $(call junit,web)

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

# The installation and the package were checked in the Release build; here
# the sanitizers watch the code, not the packaging.
asan-tests:
	ctest --preset asan -j $(JOBS) -LE "install|package" $(call junit,sanitizers)

fuzz-tests:
	ctest --preset fuzz -j $(JOBS) $(call junit,fuzz)

# The core with Google Benchmark, keystroke latency through the widgets,
# start-up on Xvfb, and the browser edition in Chromium, Firefox and WebKitGTK
# (puppeteer-core drives Firefox); each beside its baseline in the same run.
bench: deps-npm
	cmake --preset default -DVELMORIDA_BENCH=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)
	./$(BUILD_DIR)/bench/core_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	QT_QPA_PLATFORM=offscreen ./$(BUILD_DIR)/bench/keystroke_bench
	bench/startup.sh $(BUILD_DIR) 15
	$(MAKE) --no-print-directory web
	/usr/bin/python3 bench/web_bench.py --engine all $(WEB_DIR)/velmorida.html

# The packages Build-Depends names under PROFILES, as the lists above read
# them; the install check compares them with dpkg's reading.
.PHONY: control-packages
control-packages:
	@echo $(call control_packages,Build-Depends,$(PROFILES))

clean:
	rm -rf $(BUILD_DIR) $(WINDOWS_DIR) $(WEB_DIR) build-asan build-fuzz
