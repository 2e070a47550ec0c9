# Everyday commands. Each one installs what is missing first, so a fresh
# Debian 12 machine needs nothing but `make run` or `make test`.
BUILD      ?= build
BUILD_TYPE ?= Debug
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

.PHONY: all deps configure build run test test-sanitize bench screenshots package fuzz fuzz-run format format-check clean

all: build

deps:
	@./scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@cd $(BUILD) && ./tavimo

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole suite once more with AddressSanitizer and UBSan.
test-sanitize:
	@$(MAKE) --no-print-directory test BUILD=build-asan \
	  CMAKE_ARGS="-DTAVIMO_SANITIZE=ON $(CMAKE_ARGS)"

bench:
	@$(MAKE) --no-print-directory build BUILD=build-bench BUILD_TYPE=Release CMAKE_ARGS="-DTAVIMO_BENCH=ON"
	@cd build-bench && for b in bench/bench_*; do \
	  if [ -f "$$b" ] && [ -x "$$b" ]; then QT_QPA_PLATFORM=offscreen ./$$b || exit 1; fi; done

# A .deb of the installed layout in the build folder.
package: build
	@cmake --build $(BUILD) --target package

# libFuzzer targets for the file readers and the picture loader, built with
# clang in their own folder; only the targets, not the suite.
FUZZ_BUILD ?= build-fuzz
FUZZ_TIME  ?= 30
fuzz: deps
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_COMPILER=clang++-14 -DTAVIMO_FUZZ=ON $(CMAKE_ARGS) >/dev/null
	@cmake --build $(FUZZ_BUILD) --target fuzz_targets -j $(JOBS)

# Each target for FUZZ_TIME seconds on its corpus; fails on the first crash.
fuzz-run: fuzz
	@./tests/fuzz/run $(FUZZ_BUILD) $(FUZZ_TIME)

screenshots: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ./tools/screenshots/screenshots $(CURDIR)/$(BUILD)/screenshots

# Every tracked C++ file in the project's clang-format style.
CXX_FILES = $(shell git ls-files '*.cpp' '*.h')
format-check: deps
	@clang-format --dry-run -Werror $(CXX_FILES)

format: deps
	@clang-format -i $(CXX_FILES)

clean:
	rm -rf build build-asan build-bench build-fuzz
