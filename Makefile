# make          build both Tallorix.vlf modules (x86, x64), the stand-in host and the native engine
# make test     build, then run every test: native (and for i386: natively or under qemu-i386),
#               sanitized, under Wine (each module that runs here)
# make bench    build, then run the benchmarks (not part of the tests)
# make bench-killer  time the quicksort on its worst input order (KILLER_LINES)
# make fuzz     build the fuzzers, then run each for FUZZ_SECONDS (default 60)
# make demo     build, then sort data/sample.txt through Tallorix.vlf in several modes
# make screenshots  build, then retake the pictures of the dialogs in docs/
# make dist     build both modules, then the release archive dist/Tallorix-<version>.zip

BUILD  := build
NATIVE := $(BUILD)/native
NATIVE32 := $(BUILD)/native32
ASAN   := $(BUILD)/asan
WIN32  := $(BUILD)/win32
WIN64  := $(BUILD)/win64
JOBS   ?= 2

# MODULE=x86 or MODULE=x64 picks the module that demo, bench and screenshots
# run; by default it is x86 where 32-bit code runs here, x64 otherwise.
ifdef MODULE
export TALLORIX_WINE_ARCH := $(MODULE)
endif

.PHONY: all setup native native32 asan win32 win64 test test-native test-native32 test-asan test-fuzz test-wine bench bench-killer fuzz demo screenshots clean

all: win32 win64 native

setup:
	@bash tools/setup

native: setup
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

# The engine and its unit tests as 32-bit Linux code (g++-multilib).
native32: setup
	@cmake -S . -B $(NATIVE32) -DCMAKE_TOOLCHAIN_FILE=cmake/native-i386.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(NATIVE32) -j $(JOBS)

asan: setup
	@cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DTALLORIX_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN) -j $(JOBS)

win32: setup
	@cmake -S . -B $(WIN32) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WIN32) -j $(JOBS)

win64: setup
	@cmake -S . -B $(WIN64) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WIN64) -j $(JOBS)

test: test-native test-native32 test-asan test-fuzz test-wine

test-native: native
	ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS)

# The i386 unit tests run natively where 32-bit code runs here, under
# qemu-i386 where it does not, or with TALLORIX_NATIVE32=qemu; which way is
# said first.
test-native32: native32
	@bash tools/native32-run --say $(NATIVE32)/unit_tests
	ctest --test-dir $(NATIVE32) --output-on-failure -j $(JOBS)

test-asan: asan
	ctest --test-dir $(ASAN) --output-on-failure -j $(JOBS)

# The fuzzers replay their corpus, each input once.
test-fuzz: setup
	@bash tests/fuzz/run replay

# Wine tests get a display of their own, so message boxes and dialogs are
# real windows. Both modules' suites are run; those of a module that cannot
# run here are skipped, and the reason is said first.
test-wine: win32 win64
	@status=0; for m in x86:$(WIN32) x64:$(WIN64); do \
	  tools/wine-test $${m%%:*} true || true; \
	  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir $${m#*:} --output-on-failure || status=1; \
	done; exit $$status

# Native figures beside GNU sort, std::sort and the module under Wine.
BENCH_LINES ?= 100000 1000000
bench: native win32 win64
	@cmake --build $(NATIVE) --target sort_bench order_bench -j $(JOBS)
	@bash tools/bench-wine $(BENCH_LINES)
	$(NATIVE)/order_bench

# The quicksort on the input order that drives it towards quadratic time.
KILLER_LINES ?= 100000
bench-killer: native
	@cmake --build $(NATIVE) --target sort_bench -j $(JOBS)
	$(NATIVE)/sort_bench --killer $(KILLER_LINES)

FUZZ_SECONDS ?= 60
fuzz: setup
	@bash tests/fuzz/run fuzz $(FUZZ_SECONDS)

demo: win32 win64
	@bash tools/demo

screenshots: win32 win64
	@bash tools/screenshots/take

clean:
	rm -rf $(NATIVE) $(NATIVE32) $(ASAN) $(WIN32) $(WIN64) $(BUILD)/fuzz dist

# The release archive; its version is the one in VERSION (tools/dist says
# what it holds). make test checks it and makes it twice.
TALLORIX_VERSION := $(shell cat VERSION)
DIST := dist/Tallorix-$(TALLORIX_VERSION).zip
.PHONY: dist test-dist

dist: win32 win64
	@bash tools/setup dist
	@bash tools/dist $(WIN32)/Tallorix.vlf $(WIN64)/Tallorix.vlf $(DIST)

test: test-dist
test-dist: dist
	@bash tests/cli/dist_test.sh $(DIST) $(WIN32)/Tallorix.vlf $(WIN64)/Tallorix.vlf $(MAKE) --no-print-directory dist
