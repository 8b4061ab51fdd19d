# `make run` and `make test`, which the README's ./run and ./test call once make is there.
# Each installs what is missing (as root, with apt-get) and builds first. Every build is a
# preset of CMakePresets.json, with its own folder and flags; these targets only chain them.
JOBS ?= 2
export CMAKE_BUILD_PARALLEL_LEVEL := $(JOBS)
SECONDS ?= 30
XVFB = xvfb-run -a -s "-screen 0 1280x1024x24"
# Unloaded before leaks are reported at exit, the driver would leave nameless frames. It is
# this machine's own: with arm64 libraries installed beside, there is an arm64 one too.
GL_DRIVER = /usr/lib/$(shell g++ -dumpmachine)/dri/swrast_dri.so
# The arm64 stage adds arm64 to dpkg's architectures: CI runs it, a developer's ./test only
# when asked with CROSS_ARM64=yes.
CROSS_ARM64 ?= $(if $(filter true,$(CI)),yes,no)
# The Windows stage likewise: CI runs it, a developer's ./test when asked with CROSS_WINDOWS=yes.
CROSS_WINDOWS ?= $(if $(filter true,$(CI)),yes,no)

.PHONY: run test build setup setup-test asan tsan fuzz cross-arm64 cross-windows

setup:
	tools/setup.sh

setup-test:
	tools/setup.sh --test

build: setup
	cmake --preset program >/dev/null
	cmake --build --preset program

run: build
	cd data && ../build/city

test: setup-test
	cmake --preset plain >/dev/null
	cmake --build --preset plain
	$(XVFB) ctest --preset plain
	$(MAKE) --no-print-directory asan
	$(MAKE) --no-print-directory tsan
	$(MAKE) --no-print-directory fuzz
ifeq ($(CROSS_ARM64),yes)
	$(MAKE) --no-print-directory cross-arm64
endif
ifeq ($(CROSS_WINDOWS),yes)
	$(MAKE) --no-print-directory cross-windows
endif

# The whole suite again, with AddressSanitizer and UndefinedBehaviorSanitizer in our code.
asan: setup-test
	cmake --preset asan >/dev/null
	cmake --build --preset asan
	$(XVFB) env LD_PRELOAD=$(GL_DRIVER) ctest --preset asan

# The simulation's tests again, with ThreadSanitizer watching the worker and the commit.
tsan: setup-test
	cmake --preset tsan >/dev/null
	cmake --build --preset tsan
	ctest --preset tsan

# Each fuzz target for SECONDS, from its seed corpus; what it finds stays in build-fuzz.
fuzz: setup-test
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz
	tools/fuzz.sh build-fuzz $(SECONDS)

# The program and its unit and simulation tests built for arm64, the tests run under qemu,
# and the arm64 package, held to lintian.
cross-arm64:
	tools/setup.sh --cross-arm64
	cmake --workflow --preset cross-arm64
	@deb=$$(ls build-arm64/varnock-hollenby_*_arm64.deb) && \
		echo "$$deb: Depends: $$(dpkg-deb -f $$deb Depends)" && \
		lintian $$deb 2>/dev/null | tee build-arm64/lintian.log && ! grep -q '^E:' build-arm64/lintian.log

# The program for Windows x64, its installer and zip, its unit and simulation tests under Wine
# and the installed program on Xvfb; freeglut and tinyobjloader built first from Debian's sources.
cross-windows:
	tools/setup.sh --cross-windows && tools/windows_libraries.sh && cmake --workflow --preset cross-windows

.PHONY: package demo

# The Debian package, written into build; what goes in it is in packaging/.
package: build
	tools/setup.sh --package
	cpack --preset program

# Films the city on a virtual display of its own, so it needs none: a still and an animation.
DEMO ?= demo
demo: build
	tools/setup.sh --demo
	tools/demo.sh $(DEMO)

# Benchmarks, not tests: this machine's timings beside their budgets (README, Performance).
# Tall enough for the real frame's window and the floor's, one above the other.
BENCH_XVFB = xvfb-run -a -s "-screen 0 1280x1480x24"

.PHONY: bench setup-bench

setup-bench:
	tools/setup.sh --bench

bench: setup-bench
	cmake --preset bench >/dev/null
	cmake --build --preset bench
	$(BENCH_XVFB) python3 tools/bench/run_bench.py build-bench
