# The front door. `make test` installs what is missing, builds and runs every test.
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run install package test unit sanitize fuzz-build fuzz-test fuzz soak bench format format-check clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELLIWIG_WERROR=ON >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Starts Zuzi from the build tree; `make run ARGS="--preview water"` passes
# options. With Zuzi already running, the options go to her and this ends.
run: configure
	@cmake --build $(BUILD) -j $(JOBS) --target pelliwig
	@$(BUILD)/src/desktop/pelliwig $(ARGS)

# Puts the program, her pictures and the menu entry under PREFIX.
PREFIX ?= /usr/local
install: configure
	@cmake --build $(BUILD) -j $(JOBS) --target pelliwig
	@cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package of this build (build/package/pelliwig_VERSION_ARCH.deb),
# installing under /usr; its dependencies come from the binaries.
package: build
	@cd $(BUILD) && cpack -G DEB >/dev/null && ls package/*.deb

# Every test (the package is built and checked among them), then the core
# tests again under AddressSanitizer and UBSan, then each fuzzer briefly.
test: format-check unit sanitize fuzz-test

unit: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

sanitize: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPELLIWIG_SANITIZE=ON -DPELLIWIG_BENCH=OFF -DPELLIWIG_PLATFORM=OFF -DPELLIWIG_WERROR=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) -L core

# The decoders' libFuzzer harnesses, built with clang under ASan and UBSan.
fuzz-build: deps
	@CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELLIWIG_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)

fuzz-test: fuzz-build
	@ctest --test-dir $(FUZZ_BUILD) --output-on-failure -j $(JOBS)

# Each harness for FUZZ_RUNS inputs from its seed corpus (fuzz/corpus/NAME);
# what it finds new is kept in $(FUZZ_BUILD)/fuzz/found/NAME. A crash stops
# the run with the input written to $(FUZZ_BUILD)/fuzz/crash-* (or timeout-*).
FUZZ_RUNS ?= 200000
fuzz: fuzz-build
	@for f in $(FUZZ_BUILD)/fuzz/*Fuzzer; do \
	  name=$$(basename $$f Fuzzer); \
	  log=$(FUZZ_BUILD)/fuzz/$$name.log; mkdir -p $(FUZZ_BUILD)/fuzz/found/$$name; \
	  TZ=Europe/Berlin LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 $$f -runs=$(FUZZ_RUNS) -timeout=20 \
	    -max_len=16384 -artifact_prefix=$(FUZZ_BUILD)/fuzz/ \
	    $(FUZZ_BUILD)/fuzz/found/$$name fuzz/corpus/$$name >$$log 2>&1; \
	  status=$$?; grep -E '^(Done|SUMMARY)' $$log | sed "s/^/$$name: /"; \
	  [ $$status -eq 0 ] || { echo "$$name failed, see $$log"; exit 1; }; \
	done

# A random year (or DAYS days) of her life in virtual time on a real store,
# checked after every day: `make soak SEED=7 DAYS=365`.
SEED ?= 1
DAYS ?= 365
soak: build
	@cmake --build $(BUILD) -j $(JOBS) --target pelliwig-soak
	@TZ=Europe/Berlin LANG=en_US.UTF-8 $(BUILD)/tests/soak/pelliwig-soak --seed $(SEED) --days $(DAYS)

bench: build
	@for b in $(BUILD)/bench/*Bench; do echo "== $$b"; $$b; done

# .clang-format lays out every C++ file; `make format` rewrites those that drift,
# and `make test` fails first when one does.
SOURCES = git ls-files -z '*.cpp' '*.h'
format:
	@$(SOURCES) | xargs -0 clang-format-14 -i

format-check: deps
	@$(SOURCES) | xargs -0 clang-format-14 --dry-run -Werror

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
