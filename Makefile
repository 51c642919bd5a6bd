# The front door. `make test` installs what is missing, builds and runs every test.
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run install test unit sanitize bench clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

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

# Every test, then the core tests again under AddressSanitizer and UBSan.
test: unit sanitize

unit: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

sanitize: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPELLIWIG_SANITIZE=ON -DPELLIWIG_BENCH=OFF -DPELLIWIG_PLATFORM=OFF >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) -L core

bench: build
	@for b in $(BUILD)/bench/*Bench; do echo "== $$b"; $$b; done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
