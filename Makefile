# Everyday commands. Each one installs what is missing first (and asks for
# nothing when all is there), so a fresh Debian 12 machine needs nothing but
# `make run` or `make test`. `make run` needs only the game's own packages;
# the tests, tools and package checks bring the development packages.
BUILD      ?= build
BUILD_TYPE ?= Debug
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=
# Whether the build folder holds the tests and tools (ON) or the game alone
# (OFF, which needs only the game's own packages).
TESTING    ?= ON
DEPS_KIND   = $(if $(filter OFF,$(TESTING)),,--dev)
BUILD_TARGET =

.PHONY: all deps configure build run test translations test-sanitize bench screenshots package uninstall fuzz fuzz-run format format-check clean

all: build

deps:
	@./scripts/install-deps $(DEPS_KIND)

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DBUILD_TESTING=$(TESTING) $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS) $(BUILD_TARGET)

# The game alone: a new build folder gets no tests, an existing one keeps
# what it has; only the game's packages are installed.
run: TESTING := $(or $(shell sed -n 's/^BUILD_TESTING:BOOL=//p' $(BUILD)/CMakeCache.txt 2>/dev/null),OFF)
run: DEPS_KIND :=
run: BUILD_TARGET := --target tavimo
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

# The .deb, as Debian builds its packages: Release, Debian's hardening flags
# (dpkg-buildflags with every hardening feature), installed under /usr,
# stripped, without the tests; then checked (tests/install/package_test.sh).
PKG_BUILD ?= build-package
package:
	@./scripts/install-deps --package
	@export DEB_BUILD_MAINT_OPTIONS=hardening=+all; \
	  cmake -S . -B $(PKG_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
	  -DCMAKE_INSTALL_PREFIX=/usr \
	  -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" $(CMAKE_ARGS) >/dev/null
	@cmake --build $(PKG_BUILD) -j $(JOBS) --target package
	@./tests/install/package_test.sh $(PKG_BUILD)

# Removes what `cmake --install $(BUILD)` put (its install_manifest.txt).
uninstall:
	@cmake --build $(BUILD) --target uninstall

# libFuzzer targets for the file readers and the picture loader, built with
# clang in their own folder; only the targets, not the suite.
FUZZ_BUILD ?= build-fuzz
FUZZ_TIME  ?= 30
fuzz:
	@./scripts/install-deps --dev
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_COMPILER=clang++-14 -DTAVIMO_FUZZ=ON -DBUILD_TESTING=ON $(CMAKE_ARGS) >/dev/null
	@cmake --build $(FUZZ_BUILD) --target fuzz_targets -j $(JOBS)

# Each target for FUZZ_TIME seconds on its corpus; fails on the first crash.
fuzz-run: fuzz
	@./tests/fuzz/run $(FUZZ_BUILD) $(FUZZ_TIME)

# The catalogues in translations/ brought up to the texts of the sources
# (lupdate): new texts come in unfinished, texts no longer used go.
translations:
	@./scripts/install-deps
	@./translations/update

screenshots: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ./tools/screenshots/screenshots $(CURDIR)/$(BUILD)/screenshots

# Every tracked C++ file in the project's clang-format style.
CXX_FILES = $(shell git ls-files '*.cpp' '*.h')
format-check:
	@./scripts/install-deps --dev
	@clang-format --dry-run -Werror $(CXX_FILES)

format:
	@./scripts/install-deps --dev
	@clang-format -i $(CXX_FILES)

clean:
	rm -rf build build-asan build-bench build-fuzz build-package
