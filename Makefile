# The two commands of the README: `make run` and `make test`. Each installs what is
# missing (as root, with apt-get) and builds first.
BUILD ?= build
TSAN_BUILD ?= build-tsan
JOBS ?= 2
XVFB = xvfb-run -a -s "-screen 0 1280x1024x24"

.PHONY: run test build setup setup-test tsan screenshot

setup:
	tools/setup.sh

setup-test:
	tools/setup.sh --test

build: setup
	cmake -S . -B $(BUILD) -DBUILD_TESTING=OFF >/dev/null
	cmake --build $(BUILD) -j$(JOBS)

run: build
	cd data && ../$(BUILD)/city

test: setup-test
	cmake -S . -B $(BUILD) -DBUILD_TESTING=ON >/dev/null
	cmake --build $(BUILD) -j$(JOBS)
	cd $(BUILD) && $(XVFB) ctest --output-on-failure --timeout 600
	$(MAKE) --no-print-directory tsan

# The simulation's tests again, with ThreadSanitizer watching the worker and the commit.
tsan:
	cmake -S . -B $(TSAN_BUILD) -DCITY_SIM_ONLY=ON -DBUILD_TESTING=ON \
		-DCMAKE_CXX_FLAGS="-fsanitize=thread -O1 -g" >/dev/null
	cmake --build $(TSAN_BUILD) -j$(JOBS)
	cd $(TSAN_BUILD) && TSAN_OPTIONS="halt_on_error=1" ctest --output-on-failure

screenshot: build
	tools/screenshot.sh docs/screenshot.png

# Benchmarks, not tests: this machine's timings beside their budgets (README, Performance).
BENCH_BUILD ?= build-bench
# Tall enough for the real frame's window and the floor's, one above the other.
BENCH_XVFB = xvfb-run -a -s "-screen 0 1280x1480x24"

.PHONY: bench setup-bench

setup-bench:
	tools/setup.sh --bench

bench: setup-bench
	cmake -S . -B $(BENCH_BUILD) -DBUILD_TESTING=OFF -DCITY_BENCH=ON >/dev/null
	cmake --build $(BENCH_BUILD) -j$(JOBS)
	$(BENCH_XVFB) python3 tools/bench/run_bench.py $(BENCH_BUILD)
