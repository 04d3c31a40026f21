# make          build Tallorix.vlf, the stand-in host and the native engine
# make test     build, then run every test: native, sanitized, under Wine
# make bench    build, then run the benchmarks (not part of the tests)
# make fuzz     build the fuzzers, then run each for FUZZ_SECONDS (default 60)
# make demo     build, then sort data/sample.txt through Tallorix.vlf in several modes
# make screenshots  build, then retake the pictures of the dialogs in docs/

BUILD  := build
NATIVE := $(BUILD)/native
ASAN   := $(BUILD)/asan
WIN32  := $(BUILD)/win32
JOBS   ?= 2

.PHONY: all setup native asan win32 test test-native test-asan test-fuzz test-wine bench fuzz demo screenshots clean

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

bench: native
	@cmake --build $(NATIVE) --target order_bench -j $(JOBS)
	$(NATIVE)/order_bench

FUZZ_SECONDS ?= 60
fuzz: setup
	@bash tests/fuzz/run fuzz $(FUZZ_SECONDS)

demo: win32
	@bash tools/demo

screenshots: win32
	@bash tools/screenshots/take

clean:
	rm -rf $(NATIVE) $(ASAN) $(WIN32) $(BUILD)/fuzz
