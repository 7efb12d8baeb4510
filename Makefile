# Two commands on a fresh machine: `make run` and `make test`.
# Both install what is missing, build into build/ and assemble build/run/.

BUILD_DIR := build
RUN_DIR   := $(BUILD_DIR)/run
JOBS      ?= $(shell nproc 2>/dev/null || echo 2)
XVFB      := xvfb-run -a -s "-screen 0 1280x720x24"

.PHONY: all deps build run test bench clean

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@cd $(RUN_DIR) && if [ -n "$${DISPLAY:-}" ]; then \
		./tarnwick; \
	else \
		echo "No display found: running under Xvfb (1280x720)."; \
		$(XVFB) ./tarnwick; \
	fi

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: build
	@mkdir -p $(BUILD_DIR)/bench_run && cd $(BUILD_DIR)/bench_run && ../../tests/with_xvfb.sh ../bench/tarnwick_bench

clean:
	rm -rf $(BUILD_DIR)
