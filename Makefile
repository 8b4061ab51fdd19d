# `make run` and `make test`, which the README's ./run and ./test call once make is there.
# Each installs what is missing (as root, with apt-get) and builds first.
BUILD ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
FUZZ_BUILD ?= build-fuzz
JOBS ?= 2
SECONDS ?= 30
XVFB = xvfb-run -a -s "-screen 0 1280x1024x24"
# Unloaded before leaks are reported at exit, the driver would leave nameless frames.
GL_DRIVER = $(firstword $(wildcard /usr/lib/*/dri/swrast_dri.so))

.PHONY: run test build setup setup-test asan tsan fuzz

setup:
	tools/setup.sh

setup-test:
	tools/setup.sh --test

build: setup
	cmake -S . -B $(BUILD) -DBUILD_TESTING=OFF -DCITY_HARDENED=ON >/dev/null
	cmake --build $(BUILD) -j$(JOBS)

run: build
	cd data && ../$(BUILD)/city

test: setup-test
	cmake -S . -B $(BUILD) -DBUILD_TESTING=ON -DCITY_HARDENED=ON >/dev/null
	cmake --build $(BUILD) -j$(JOBS)
	cd $(BUILD) && $(XVFB) ctest --output-on-failure --timeout 600
	$(MAKE) --no-print-directory asan
	$(MAKE) --no-print-directory tsan
	$(MAKE) --no-print-directory fuzz

# The whole suite again, with AddressSanitizer and UndefinedBehaviorSanitizer in our code.
asan: setup-test
	cmake -S . -B $(ASAN_BUILD) -DBUILD_TESTING=ON -DCMAKE_CXX_FLAGS="-O1 -g \
		-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" >/dev/null
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:verify_asan_link_order=0" \
		LSAN_OPTIONS="suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0" \
		UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
		$(XVFB) env LD_PRELOAD=$(GL_DRIVER) ctest --output-on-failure --timeout 600 -E "^package"

# The simulation's tests again, with ThreadSanitizer watching the worker and the commit.
tsan: setup-test
	cmake -S . -B $(TSAN_BUILD) -DCITY_SIM_ONLY=ON -DBUILD_TESTING=ON \
		-DCMAKE_CXX_FLAGS="-fsanitize=thread -O1 -g" >/dev/null
	cmake --build $(TSAN_BUILD) -j$(JOBS)
	cd $(TSAN_BUILD) && TSAN_OPTIONS="halt_on_error=1" ctest --output-on-failure

# Each fuzz target for SECONDS, from its seed corpus; what it finds stays in $(FUZZ_BUILD).
fuzz: setup-test
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCITY_FUZZ=ON -DCMAKE_CXX_FLAGS="-O1 -g" \
		>/dev/null
	cmake --build $(FUZZ_BUILD) -j$(JOBS)
	@for target in image:bmp obj:obj; do \
		name=$${target%:*} kind=$${target#*:} && mkdir -p $(FUZZ_BUILD)/found/$$kind && \
		echo "fuzzing $$name for $(SECONDS) s" && \
		if $(FUZZ_BUILD)/tests/fuzz/$${name}_fuzz -max_total_time=$(SECONDS) \
			-artifact_prefix=$(FUZZ_BUILD)/ $(FUZZ_BUILD)/found/$$kind tests/fuzz/corpus/$$kind \
			2>$(FUZZ_BUILD)/$$name.log; \
		then tail -n 1 $(FUZZ_BUILD)/$$name.log; \
		else tail -n 40 $(FUZZ_BUILD)/$$name.log && exit 1; fi; \
	done && echo "fuzz: 2 passed, 0 failed"

.PHONY: package demo

# The Debian package, written into $(BUILD); what goes in it is in packaging/.
package: build
	tools/setup.sh --package
	cd $(BUILD) && cpack -G DEB

# Films the city on a virtual display of its own, so it needs none: a still and an animation.
DEMO ?= demo
demo: build
	tools/setup.sh --demo
	tools/demo.sh $(DEMO)

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
