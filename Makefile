# Quick start on Debian 12: `make run` starts the program, `make check` runs
# every test. Both install what is missing first.
PRESET ?= default
BUILD := build/$(PRESET)

.PHONY: all deps configure build run check windows web soak package bench format clean

all: build

deps:
	@tools/install-deps.sh build

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET)

run: build
	$(BUILD)/app/tolvane

# Every test, first in the optimised build, then built with AddressSanitizer
# and UndefinedBehaviorSanitizer (preset asan, in build/asan), then the Windows
# build's under Wine, then the browser build's in Chromium, WebKit and Firefox.
check: build
	ctest --preset $(PRESET)
	@$(MAKE) --no-print-directory PRESET=asan build
	ctest --preset asan
	@$(MAKE) --no-print-directory windows
	@cmake --build --preset windows
	ctest --preset windows
	@$(MAKE) --no-print-directory web
	@cmake --build --preset web
	ctest --preset web

# The Windows executable on the Win32 controls, cross-compiled with MinGW-w64:
# build/windows/tolvane.exe and build/windows/tolvane-1.00-windows.zip.
windows:
	@tools/install-deps.sh windows
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows --target tolvane windows_zip

# The site for browsers, in build/web: its page, the program as WebAssembly,
# the fonts and their licence, the icons, its manifest and service worker,
# every file but those three named by its content. Any static server serves it.
web:
	@tools/install-deps.sh web
	@cmake --preset web >/dev/null
	@cmake --build --preset web --target tolvane site

# The random walks against the model, long: not part of `make check`.
# SOAK_STEPS per walk, SOAK_SEEDS walks with faults and as many without.
SOAK_STEPS ?= 5000
SOAK_SEEDS ?= 10
soak: build
	TOLVANE_WALK_STEPS=$(SOAK_STEPS) TOLVANE_WALK_SEEDS=$(SOAK_SEEDS) QT_QPA_PLATFORM=offscreen \
		$(BUILD)/tests/tolvane_tests --gtest_filter='Seeds/*'

# A Debian package of the optimised build, in build/<preset>/.
package: build
	cd $(BUILD) && cpack -G DEB

# Start-up and memory against the floor (a plain Qt window drawing page 1's
# texts) and every click on the real screens, in a build of
# its own; the same for tolvane.exe under Wine and for the site in headless
# Chromium. Writes docs/performance.md.
BENCH_BUILD := build/bench
bench:
	@tools/install-deps.sh build bench
	@cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DTOLVANE_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(BENCH_BUILD)
	@tools/install-deps.sh windows
	@cmake -S . -B $(BENCH_BUILD)-windows -G Ninja --toolchain cmake/mingw-w64.cmake \
		-DCMAKE_BUILD_TYPE=MinSizeRel -DTOLVANE_WIN32=ON -DTOLVANE_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(BENCH_BUILD)-windows
	@$(MAKE) --no-print-directory web
	@bench/run.sh $(BENCH_BUILD) docs/performance.md $(BENCH_BUILD)-windows build/web

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
