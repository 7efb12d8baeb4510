# Two commands on a fresh machine: `make run` and `make test`.
# Both install what is missing, build into build/ and assemble build/run/.

# `make test WERROR=1` (as CI runs it) stops the build at any compiler warning.
# The choice is passed to every configure so it never lingers in a cache.
WERROR    ?=
ifeq ($(WERROR),1)
WERROR_OPT := -DTARNWICK_WERROR=ON
else
WERROR_OPT := -DTARNWICK_WERROR=OFF
endif

# `make test SANITIZE=1` builds into build-asan/ with AddressSanitizer and
# UndefinedBehaviorSanitizer (no recovery) and runs the same suite there.
SANITIZE  ?=
ifeq ($(SANITIZE),1)
BUILD_DIR := build-asan
CMAKE_OPTS := -DTARNWICK_SANITIZE=ON
TEST_ENV  := ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=0 \
             LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitize/lsan.supp:print_suppressions=0 \
             UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
BUILD_DIR := build
CMAKE_OPTS :=
TEST_ENV  :=
endif
RUN_DIR   := $(BUILD_DIR)/run
FUZZ_DIR  := build-fuzz
FUZZ_SECONDS ?= 20
SOAK_MINUTES ?= 10
JOBS      ?= $(shell nproc 2>/dev/null || echo 2)
XVFB      := xvfb-run -a -s "-screen 0 1280x720x24"

.PHONY: all deps build run test bench fuzz soak clean

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_OPTS) $(WERROR_OPT) >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@cd $(RUN_DIR) && if [ -n "$${DISPLAY:-}" ]; then \
		./tarnwick; \
	else \
		echo "No display found: running under Xvfb (1280x720)."; \
		$(XVFB) ./tarnwick; \
	fi

test: build
	@cd $(BUILD_DIR) && $(TEST_ENV) ctest --output-on-failure -j $(JOBS)

bench: build
	@mkdir -p $(BUILD_DIR)/bench_run && cd $(BUILD_DIR)/bench_run && ../../tests/with_xvfb.sh ../bench/tarnwick_bench

# Every fuzz target for FUZZ_SECONDS each, one after the other (clang, in
# build-fuzz/; corpora and crashes under build-fuzz/fuzz/).
fuzz:
	@scripts/install-deps fuzz
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWICK_FUZZ=ON $(WERROR_OPT) >/dev/null
	@cmake --build $(FUZZ_DIR) --target fuzz_targets -j $(JOBS)
	@tests/fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# SOAK_MINUTES of scripted driving with random hot keys under Xvfb.
soak: build
	@tests/soak/soak.sh $(RUN_DIR) $(SOAK_MINUTES)

clean:
	rm -rf build build-asan $(FUZZ_DIR)
