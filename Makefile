# make          build Tallorix.vlf, the stand-in host and the native engine
# make test     build, then run every test: native, sanitized, under Wine
# make bench    build, then run the benchmarks (not part of the tests)
# make bench-killer  time the quicksort on its worst input order (KILLER_LINES)
# make fuzz     build the fuzzers, then run each for FUZZ_SECONDS (default 60)
# make demo     build, then sort data/sample.txt through Tallorix.vlf in several modes
# make screenshots  build, then retake the pictures of the dialogs in docs/

BUILD  := build
NATIVE := $(BUILD)/native
ASAN   := $(BUILD)/asan
WIN32  := $(BUILD)/win32
JOBS   ?= 2

.PHONY: all setup native asan win32 test test-native test-asan test-fuzz test-wine bench bench-killer fuzz demo screenshots clean

all: win32 native

setup:
	@bash tools/setup

native: setup
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

asan: setup
	@cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DTALLORIX_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN) -j $(JOBS)

win32: setup
	@cmake -S . -B $(WIN32) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WIN32) -j $(JOBS)

test: test-native test-asan test-fuzz test-wine

test-native: native
	ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS)

test-asan: asan
	ctest --test-dir $(ASAN) --output-on-failure -j $(JOBS)

# The fuzzers replay their corpus, each input once.
test-fuzz: setup
	@bash tests/fuzz/run replay

# Wine tests get a display of their own, so message boxes and dialogs are
# real windows.
test-wine: win32
	xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir $(WIN32) --output-on-failure

# Native figures beside GNU sort, std::sort and the module under Wine.
BENCH_LINES ?= 100000 1000000
bench: native win32
	@cmake --build $(NATIVE) --target sort_bench order_bench -j $(JOBS)
	@cmake --build $(WIN32) --target wine_bench -j $(JOBS)
	$(NATIVE)/sort_bench --wine "tools/wine-run $(WIN32)/wine_bench.exe $(WIN32)/Tallorix.vlf Z:$(CURDIR)/data/BushuKakusuu.txt" $(BENCH_LINES)
	$(NATIVE)/order_bench

# The quicksort on the input order that drives it towards quadratic time.
KILLER_LINES ?= 100000
bench-killer: native
	@cmake --build $(NATIVE) --target sort_bench -j $(JOBS)
	$(NATIVE)/sort_bench --killer $(KILLER_LINES)

FUZZ_SECONDS ?= 60
fuzz: setup
	@bash tests/fuzz/run fuzz $(FUZZ_SECONDS)

demo: win32
	@bash tools/demo

screenshots: win32
	@bash tools/screenshots/take

clean:
	rm -rf $(NATIVE) $(ASAN) $(WIN32) $(BUILD)/fuzz
