# The two commands every new user starts with:
#   make run    builds the tool and starts it against the built-in simulated display
#   make test   builds everything and runs every test
# Both install what the build needs on Debian 12 first (apt-get as root,
# through sudo otherwise).

BUILD      ?= build
BUILD_ASAN ?= build-asan
BUILD_FUZZ ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all run test deps configure build package asan fuzz bench format format-check clean

all: build

deps:
	@sh scripts/install-deps.sh

$(BUILD)/build.ninja: CMakeLists.txt CMakePresets.json | deps
	cmake --preset default

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/orlix6 --simulator

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The Debian package: $(BUILD)/orlix6_VERSION_ARCH.deb, for apt install ./FILE.
package: build
	cd $(BUILD) && cpack
	@ls -l $(BUILD)/orlix6_*.deb

# The core and the simulated unit under AddressSanitizer + UndefinedBehaviorSanitizer.
asan: deps
	cmake --preset asan
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --test-dir $(BUILD_ASAN) --output-on-failure -j $(JOBS)

# Runs each fuzz target for FUZZ_SECONDS seconds.
fuzz: deps
	cmake --preset fuzz
	cmake --build $(BUILD_FUZZ) -j $(JOBS)
	@set -e; for target in $(BUILD_FUZZ)/tests/fuzz/fuzz_*; do \
		[ -x "$$target" ] || continue; \
		name=$$(basename $$target | sed 's/^fuzz_//'); \
		corpus=tests/fuzz/corpus/$$name; \
		work=$(BUILD_FUZZ)/corpus/$$name; mkdir -p $$work; \
		echo "== $$name for $(FUZZ_SECONDS) s"; \
		if [ -d $$corpus ]; then seeds=$$corpus; else seeds=; fi; \
		$$target -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 \
			-print_final_stats=1 $$work $$seeds; \
	done

bench: build
	@set -e; for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && $$b; done

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_FUZZ)
