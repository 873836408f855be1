# Quick start on Debian 12: `make run` starts the program, `make check` runs
# every test. Both install what is missing first.
PRESET ?= default
BUILD := build/$(PRESET)

.PHONY: all deps configure build run check package format clean

all: build

deps:
	@tools/install-deps.sh build

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET)

run: build
	$(BUILD)/app/tolvane

check: build
	ctest --preset $(PRESET)

# A Debian package of the optimised build, in build/<preset>/.
package: build
	cd $(BUILD) && cpack -G DEB

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
