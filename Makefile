# make test: installs what is missing, builds both builds, runs every test
#            (native, and under Wine), then a short run of each fuzz target.
# make demo: installs what is missing, builds, runs the demo into out/demo.
SHELL := /bin/bash
JOBS ?= 2
FUZZ_SECONDS ?= 20
FUZZERS := fuzz_warp fuzz_warp_grid fuzz_video fuzz_answer fuzz_setup_script

.PHONY: all deps native win32 release test test-native test-win32 fuzz demo bench clean

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

fuzz: native
	@mkdir -p build/fuzz
	@for f in $(FUZZERS); do \
	  echo "fuzz: $$f for $(FUZZ_SECONDS) s"; \
	  mkdir -p build/fuzz/$$f; \
	  build/native/fuzz/$$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=0 build/fuzz/$$f \
	    2> build/fuzz/$$f.log || { tail -40 build/fuzz/$$f.log; exit 1; }; \
	done

test: test-native test-win32 fuzz
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
