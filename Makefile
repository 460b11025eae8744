# Entry points for people and CI. Each target installs what it needs first.
SHELL := /bin/bash
BUILD ?= build
TEST_BUILD := $(BUILD)/x64
RELEASE_BUILD := $(BUILD)/x86
JOBS ?= $(shell nproc)
# Loopback port of the test download server; give each work tree its own.
TEST_PORT ?= 18080

.PHONY: setup build build-test build-release test demo bench format clean

setup:
	@bash tools/setup.sh

$(TEST_BUILD)/build.ninja: | setup
	@cmake -S . -B $(TEST_BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake \
	  -DVERIDANE_TESTS=ON -DVERIDANE_DOWNLOAD_HOST=127.0.0.1 -DVERIDANE_DOWNLOAD_PORT=$(TEST_PORT) \
	  -DVERIDANE_UPDATE_HOST=update.veridane.test >/dev/null

$(RELEASE_BUILD)/build.ninja: | setup
	@cmake -S . -B $(RELEASE_BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake >/dev/null

build-test: setup $(TEST_BUILD)/build.ninja
	@cmake --build $(TEST_BUILD) -j $(JOBS)

build-release: setup $(RELEASE_BUILD)/build.ninja
	@cmake --build $(RELEASE_BUILD) -j $(JOBS)

build: build-test build-release

test: build
	@cd $(TEST_BUILD) && ctest --output-on-failure -j 1

demo: build-test
	@VERIDANE_BUILD=$(abspath $(TEST_BUILD)) python3 tools/demo.py $(DEMO_ARGS)

bench: build
	@VERIDANE_BUILD=$(abspath $(TEST_BUILD)) python3 bench/run.py

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	@rm -rf $(BUILD)
