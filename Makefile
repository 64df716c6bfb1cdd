# The commands README.md names. Each installs what is missing first.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
PREFIX ?= /usr/local
WERROR := $(if $(filter true,$(CI)),ON,OFF)
# CI's -Werror builds live apart, so that a plain build and a CI build never reconfigure each other's folder.
BUILD := build$(if $(filter true,$(CI)),/ci)

.PHONY: deps test release demo install fuzz bench clean

deps:
	@scripts/install-deps

# $(call configure,FOLDER,OPTIONS): a folder keeps the generator its cache records; a new one takes Ninja when
# it is installed. Recipes run after deps, so a first run on a fresh machine finds the Ninja it just installed.
configure = if [ -f $(1)/CMakeCache.txt ]; then generator=(); \
	  elif command -v ninja >/dev/null; then generator=(-G Ninja); else generator=(-G "Unix Makefiles"); fi; \
	  cmake -S . -B $(1) "$${generator[@]}" $(2)

test: deps
	$(call configure,$(BUILD)/test,-DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
	  -DVEMO_SANITIZE=ON -DVEMO_WERROR=$(WERROR))
	cmake --build $(BUILD)/test -j $(JOBS)
	cd $(BUILD)/test && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# The release build that demo, install and bench use, built alone by CI, where its warnings are errors too.
release: deps
	$(call configure,$(BUILD)/release,-DCMAKE_BUILD_TYPE=Release -DVEMO_TESTS=OFF -DVEMO_WERROR=$(WERROR))
	cmake --build $(BUILD)/release -j $(JOBS)

demo: release
	@scripts/run-demo $(BUILD)/release

# The release build that make demo runs, installed under PREFIX: bin/quorven, bin/quorven-register-title (the
# title registration command) with the registry program it runs, bin/quorven-registry, and lib/libcorvintale.so.
install: release
	cmake --install $(BUILD)/release --prefix "$(PREFIX)"

fuzz: deps
	export CC=clang CXX=clang++; $(call configure,$(BUILD)/fuzz,-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEMO_FUZZ=ON \
	  -DVEMO_TESTS=OFF -DVEMO_BENCH=OFF -DVEMO_WERROR=$(WERROR))
	cmake --build $(BUILD)/fuzz -j $(JOBS)
	@scripts/run-fuzz $(BUILD)/fuzz $(FUZZ_SECONDS)

bench: release
	@for b in $(BUILD)/release/bench/bench_*; do [ -x "$$b" ] && "$$b"; done; true

clean:
	rm -rf build
