# make test: installs what is missing, builds both builds, runs every test
#            (native, and under Wine), then a short run of each fuzz target.
# make demo: installs what is missing, builds, runs the demo into out/demo.
SHELL := /bin/bash
JOBS ?= 2
FUZZ_SECONDS ?= 600

.PHONY: all deps native win32 release test test-native test-win32 fuzz fuzz-long demo bench clean dist dist-test

all: native win32

deps:
	bash scripts/install-deps.sh

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native -j$(JOBS)

win32: deps native
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j$(JOBS)

test-native: native
	ctest --preset native -j$(JOBS)

# One X display for all Windows tests.
test-win32: win32
	xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset win32 -j$(JOBS)

# Each fuzz target briefly (fuzz/targets.txt gives how long), from seeds made
# in the tree and the corpus of earlier runs under build/fuzz/.
fuzz: native
	bash scripts/fuzz.sh test

# The campaign: every target FUZZ_SECONDS seconds; RELIABILITY.md's table is
# then filled from the logs.
fuzz-long: native
	bash scripts/fuzz.sh long $(FUZZ_SECONDS)

test: test-native test-win32 dist-test fuzz
	@echo "make test: all tests passed"

# The demo's native tools come from the optimised build (no sanitizers).
release: deps
	cmake --preset bench >/dev/null
	cmake --build --preset bench -j$(JOBS) --target zkv6 make_test_panorama make_test_video

demo: release win32
	NATIVE_BIN=$(CURDIR)/build/bench/bin xvfb-run -a -s "-screen 0 1024x768x24" bash scripts/demo-warp.sh out/demo 8
	NATIVE_BIN=$(CURDIR)/build/bench/bin xvfb-run -a -s "-screen 0 1024x768x24" bash scripts/demo-video.sh out/demo 12 24
	xvfb-run -a -s "-screen 0 1024x768x24" bash scripts/setup-example.sh out/demo/setup
	xvfb-run -a -s "-screen 0 1024x768x24" bash scripts/setup-screenshots.sh out/demo/setup
	xvfb-run -a -s "-screen 0 1024x768x24" bash scripts/setup-demo.sh out/demo/setup
	xvfb-run -a -s "-screen 0 1024x768x24" bash scripts/installer-screenshots.sh out/demo/installer

# The release: out/dist with the six deliverables, the sample setup package,
# a README for Windows users and voxa-kebo-windows-VERSION.zip. It builds only
# the deliverables.
dist: deps
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j$(JOBS) --target dist

# The release run from a fresh Wine prefix that sees nothing of the build
# tree but the test machine.
dist-test: dist
	cmake --build --preset win32 -j$(JOBS) --target testmachine
	xvfb-run -a -s "-screen 0 1024x768x24" bash scripts/dist-test.sh out/dist build/win32/bin/testmachine.exe

# ship_bench runs in both builds (natively, and under Wine as users run the
# DLL) and prints their figures side by side; then the native benchmarks.
bench: deps win32
	cmake --preset bench >/dev/null
	cmake --build --preset bench -j$(JOBS) --target ship_bench warp_bench video_bench codec_compare_bench
	bash scripts/ship-bench.sh
	build/bench/bench/warp_bench
	build/bench/bench/video_bench
	build/bench/bench/codec_compare_bench

clean:
	rm -rf build out
