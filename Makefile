# Front door: `make run` starts the clock, `make test` runs every test layer, `make dist` packs
# what a Windows user downloads into dist/, `make soak` runs the clock through a simulated week,
# `make fuzz` fuzzes the portable core.
BUILD ?= build
LOGS := $(BUILD)/logs
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_WIN64 := cmake -S . -B $(BUILD)/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
# The tests need posix threads; the shipped programs are built without them, in trees of their own.
CMAKE_WIN32 := cmake -S . -B $(BUILD)/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release -DVELTRANO_BUILD_TESTS=OFF
CMAKE_WIN64_PRODUCT := cmake -S . -B $(BUILD)/win64-product -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64-win32threads.cmake -DCMAKE_BUILD_TYPE=Release -DVELTRANO_BUILD_TESTS=OFF
CMAKE_NATIVE := cmake -S . -B $(BUILD)/native -DCMAKE_BUILD_TYPE=Debug
CMAKE_FUZZ := cmake -S . -B $(BUILD)/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVELTRANO_FUZZ=ON
# Seconds per fuzz target; FUZZ_KEEP=1 keeps new inputs that add coverage in the corpus,
# FUZZ_TARGETS="settings sort_order" fuzzes only those.
FUZZ_SECONDS ?= 60
FUZZ_KEEP ?= 0
FUZZ_TARGETS ?=

# CMake keeps the compiler it found first: a tree configured with other toolchain files than
# today's is configured afresh, or it would go on building with the old thread model.
forget_stale_configuration = sum=$$(cat cmake/mingw-common.cmake $(2) | md5sum); \
	[ "$$(cat $(BUILD)/$(1)/toolchain.sum 2>/dev/null)" = "$$sum" ] || \
	{ rm -rf $(BUILD)/$(1)/CMakeCache.txt $(BUILD)/$(1)/CMakeFiles; mkdir -p $(BUILD)/$(1); echo "$$sum" >$(BUILD)/$(1)/toolchain.sum; }

.PHONY: all setup native win64 win32 win64-product dist test run bench soak fuzz assets format clean

all: native win64 win32

setup:
	@bash scripts/setup.sh

native: setup
	@mkdir -p $(LOGS)
	@echo "native build: log in $(LOGS)/native.log"
	@($(CMAKE_NATIVE) && cmake --build $(BUILD)/native -j$(JOBS)) > $(LOGS)/native.log 2>&1 || (tail -40 $(LOGS)/native.log; exit 1)

win64: setup
	@mkdir -p $(LOGS)
	@echo "x86_64 Windows build: log in $(LOGS)/win64.log"
	@$(call forget_stale_configuration,win64,cmake/mingw-x86_64.cmake)
	@($(CMAKE_WIN64) && cmake --build $(BUILD)/win64 -j$(JOBS)) > $(LOGS)/win64.log 2>&1 || (tail -40 $(LOGS)/win64.log; exit 1)

win32: setup
	@mkdir -p $(LOGS)
	@echo "i686 Windows program: log in $(LOGS)/win32.log"
	@$(call forget_stale_configuration,win32,cmake/mingw-i686.cmake)
	@($(CMAKE_WIN32) && cmake --build $(BUILD)/win32 -j$(JOBS)) > $(LOGS)/win32.log 2>&1 || (tail -40 $(LOGS)/win32.log; exit 1)

win64-product: setup
	@mkdir -p $(LOGS)
	@echo "x86_64 Windows program for dist: log in $(LOGS)/win64-product.log"
	@$(call forget_stale_configuration,win64-product,cmake/mingw-x86_64-win32threads.cmake)
	@($(CMAKE_WIN64_PRODUCT) && cmake --build $(BUILD)/win64-product -j$(JOBS) --target veltrano) > $(LOGS)/win64-product.log 2>&1 || (tail -40 $(LOGS)/win64-product.log; exit 1)

dist: win64-product win32
	@python3 scripts/dist.py --x64 $(BUILD)/win64-product/src/veltrano.exe --x86 $(BUILD)/win32/src/veltrano.exe --out dist

# The shipped programs and dist/ are built while the Wine tests run (they mostly wait for real
# time to pass); the package tests come last.
test: native win64
	@bash scripts/run-tests.sh $(BUILD)

run: win64
	@bash scripts/run.sh $(BUILD) $(BUILD)/win64/src/veltrano.exe

bench: win64 win64-product win32
	@bash scripts/bench.sh $(BUILD)

soak: win64
	@bash tests/soak/soak.sh $(BUILD)

fuzz: setup
	@mkdir -p $(LOGS)
	@echo "fuzz build: log in $(LOGS)/fuzz-build.log"
	@($(CMAKE_FUZZ) && cmake --build $(BUILD)/fuzz -j$(JOBS) --target veltrano_fuzzers) > $(LOGS)/fuzz-build.log 2>&1 || (tail -40 $(LOGS)/fuzz-build.log; exit 1)
	@FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_KEEP=$(FUZZ_KEEP) FUZZ_TARGETS="$(FUZZ_TARGETS)" bash tests/fuzz/run.sh $(BUILD)/fuzz $(LOGS)

assets:
	python3 tools/make_assets.py res/assets
	python3 tests/assets/check_assets.py res/assets

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) dist
