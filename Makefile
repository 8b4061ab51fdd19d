# `make run` and `make test`, which the README's ./run and ./test call once make is there.
# Each installs what is missing (as root, with apt-get) and builds first. Every chain of
# steps is a workflow preset of CMakePresets.json, with its own folder and flags; each
# target here is one line over a preset or a script.
JOBS ?= 2
export CMAKE_BUILD_PARALLEL_LEVEL := $(JOBS)
SECONDS ?= 30
# The asan tests preload the GL driver: unloaded before leaks are reported at exit, it would
# leave nameless frames. It is this machine's own: with arm64 libraries installed beside,
# there is an arm64 one too.
export CITY_GL_DRIVER = /usr/lib/$(shell g++ -dumpmachine 2>/dev/null)/dri/swrast_dri.so
# The Linux cross stages, one per Debian architecture, each adding its architecture to dpkg's:
# CI runs every one this release has (CROSS_ARCHES=all); a developer's ./test those named in
# CROSS_ARCHES, or arm64 alone with CROSS_ARM64=yes. Debian 12 has no riscv64.
RELEASE := $(shell . /etc/os-release 2>/dev/null && echo $$VERSION_CODENAME)
RELEASE_ARCHES := arm64 armhf $(if $(filter bookworm,$(RELEASE)),,riscv64)
CROSS_ARM64 ?= no
CROSS_ARCHES ?= $(if $(filter true,$(CI)),all,$(if $(filter yes,$(CROSS_ARM64)),arm64))
ifeq ($(CROSS_ARCHES),all)
  override CROSS_ARCHES := $(RELEASE_ARCHES)
  $(if $(filter bookworm,$(RELEASE)),$(info Debian 12 has no riscv64: its cross stage is left out))
endif
# The Windows stage likewise: CI runs it, a developer's ./test when asked with CROSS_WINDOWS=yes.
CROSS_WINDOWS ?= $(if $(filter true,$(CI)),yes,no)
# And the web stage, which installs Emscripten and two browsers: CROSS_WEB=yes.
CROSS_WEB ?= $(if $(filter true,$(CI)),yes,no)
# And the APT repository's test, which needs root: APT_REPO_TEST=yes.
APT_REPO_TEST ?= $(if $(filter true,$(CI)),yes,no)

.PHONY: run test build setup setup-test lint plain asan tsan fuzz cross-windows web \
	web-serve package demo apt-repo test-apt-repo

setup:
	tools/setup.sh

setup-test:
	tools/setup.sh --test

build: setup
	cmake --workflow --preset program

run: build
	cd data && ../build/city

# Every stage in turn: the scripts, then the suite plain, under the sanitizers, fuzzed, and
# the cross stages where asked.
test: lint plain asan tsan fuzz $(addprefix cross-,$(CROSS_ARCHES)) \
	$(if $(filter yes,$(CROSS_WINDOWS)),cross-windows) $(if $(filter yes,$(CROSS_WEB)),web) \
	$(if $(filter yes,$(APT_REPO_TEST)),test-apt-repo)

lint: setup-test
	tools/lint_shell.sh

plain: setup-test
	tools/on_screen.sh cmake --workflow --preset plain

# The whole suite again, with AddressSanitizer and UndefinedBehaviorSanitizer in our code.
asan: setup-test
	tools/on_screen.sh cmake --workflow --preset asan

# The simulation's tests again, with ThreadSanitizer watching the worker and the commit.
tsan: setup-test
	cmake --workflow --preset tsan

# Each fuzz target for SECONDS, from its seed corpus; what it finds stays in build-fuzz.
fuzz: setup-test
	cmake --workflow --preset fuzz && tools/fuzz.sh build-fuzz $(SECONDS)

# The program and its unit and simulation tests built for another architecture (cross-arm64,
# cross-armhf, cross-riscv64) into build-ARCH, the tests run under qemu, and its package,
# held to lintian.
cross-%:
	@if [ -z "$(filter $*,$(RELEASE_ARCHES))" ]; then \
	  echo "No cross build for $* on Debian $(RELEASE), only for $(strip $(RELEASE_ARCHES))" >&2 && exit 1; fi
	tools/setup.sh --cross $* && DEB_HOST_ARCH=$* cmake --workflow --preset cross-linux && \
	  tools/lint_deb.sh build-$*

# The program for Windows x64, its installer and zip, its unit and simulation tests under Wine
# and the installed program on Xvfb; freeglut and tinyobjloader built first from Debian's sources.
cross-windows:
	tools/setup.sh --cross-windows && tools/windows_libraries.sh && cmake --workflow --preset cross-windows

# The page: the program built by Emscripten into build-web/site (any static host serves it)
# and its zip, its unit and simulation tests under node, and the page in Chromium and Firefox.
web:
	tools/setup.sh --web && cmake --workflow --preset web

# The built site on http://127.0.0.1:$(PORT)/, with the headers that its worker thread needs.
PORT ?= 8080
web-serve:
	node tools/serve_site.js build-web/site $(PORT)

# The Debian package, written into build; what goes in it is in packaging/.
package:
	tools/setup.sh --package && cmake --workflow --preset package

# A signed APT repository in build-apt/repo for this release, of the package and of each
# cross build's (build-ARCH/), signed by APT_SIGNING_KEY in GNUPGHOME, else by a throwaway
# key (docs/packaging.md).
apt-repo: package
	tools/setup.sh --apt-repo && tools/apt_repo.sh build-apt/repo

# The repository installed from, upgraded, refused when forged and removed in a minimal Debian
# of this release, and installed in a foreign one under qemu where a cross stage built its
# package first, in build-apt/test; as root.
VERSION := $(shell head -n 1 packaging/changelog | awk '{ print $$2 }' | tr -d '()')
test-apt-repo: package
	tools/setup.sh --apt-repo && tests/package/test_apt_repo.sh \
	  build-apt/test build/varnock-hollenby_$(VERSION)_$$(dpkg --print-architecture).deb \
	  $(firstword $(wildcard $(foreach arch,$(RELEASE_ARCHES),build-$(arch)/*_$(VERSION)_$(arch).deb)))

# Films the city on a virtual display of its own, so it needs none: stills and an animation.
DEMO ?= demo
demo: build
	tools/setup.sh --demo && tools/demo.sh $(DEMO)

# Benchmarks, not tests: this machine's timings beside their budgets (docs/performance.md),
# on a screen tall enough for the real frame's window and the floor's, one above the other.
.PHONY: bench setup-bench

setup-bench:
	tools/setup.sh --bench

bench: setup-bench
	cmake --workflow --preset bench && xvfb-run -a -s "-screen 0 1280x1480x24" python3 tools/bench/run_bench.py build-bench

# The web rows: the frame and its floor as pages in Chromium and Firefox beside the native
# pair, the page's first frame and the site's sizes (docs/performance.md, "Web").
.PHONY: bench-web
bench-web: setup-bench
	tools/setup.sh --web && tools/bench/web/run.sh
