# The commands README.md names. Each installs what is missing first.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
CMAKE_GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")
WERROR := $(if $(filter true,$(CI)),ON,OFF)

.PHONY: deps test demo fuzz bench clean

deps:
	@scripts/install-deps

test: deps
	cmake -S . -B build/test -G "$(CMAKE_GENERATOR)" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
	  -DVEMO_SANITIZE=ON -DVEMO_WERROR=$(WERROR)
	cmake --build build/test -j $(JOBS)
	cd build/test && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

demo: deps
	cmake -S . -B build/release -G "$(CMAKE_GENERATOR)" -DCMAKE_BUILD_TYPE=Release -DVEMO_TESTS=OFF
	cmake --build build/release -j $(JOBS)
	@scripts/run-demo build/release

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build/fuzz -G "$(CMAKE_GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DVEMO_FUZZ=ON -DVEMO_TESTS=OFF -DVEMO_BENCH=OFF -DVEMO_WERROR=$(WERROR)
	cmake --build build/fuzz -j $(JOBS)
	@scripts/run-fuzz build/fuzz $(FUZZ_SECONDS)

bench: deps
	cmake -S . -B build/release -G "$(CMAKE_GENERATOR)" -DCMAKE_BUILD_TYPE=Release -DVEMO_TESTS=OFF
	cmake --build build/release -j $(JOBS)
	@for b in build/release/bench/bench_*; do [ -x "$$b" ] && "$$b"; done; true

clean:
	rm -rf build
