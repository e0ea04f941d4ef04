# Entry points for users and CI. CMake does the real work.
BUILD ?= build
JOBS  ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release
# Compiler warnings stop our builds; WERROR=OFF builds a release with a newer
# compiler whose new warnings we have not seen. The tests always take it ON.
WERROR ?= ON

.PHONY: all deps build run test test-fast test-sanitize fuzz bench bench-peers install package clean \
  check-format

# Every target that runs the tests builds with warnings as errors.
test test-fast test-sanitize test-clang test-scalar test-arm64 fuzz: override WERROR = ON

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DGLYPHARY_WERROR=$(WERROR)

# A folder configured with the other WERROR is configured again.
build: deps $(BUILD)/CMakeCache.txt
	@grep -qx 'GLYPHARY_WERROR:BOOL=$(WERROR)' $(BUILD)/CMakeCache.txt || \
	  cmake -S . -B $(BUILD) -DGLYPHARY_WERROR=$(WERROR)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/glyphary

# Every test: the formatting, the release build, then the same suites under
# the sanitizers.
test: check-format build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory test-sanitize
	$(MAKE) --no-print-directory fuzz

test-sanitize:
	cmake -S . -B $(BUILD)-sanitize -DCMAKE_BUILD_TYPE=Debug -DGLYPHARY_SANITIZE=ON -DGLYPHARY_BENCH=OFF \
	  -DGLYPHARY_WERROR=$(WERROR)
	cmake --build $(BUILD)-sanitize -j $(JOBS)
	cd $(BUILD)-sanitize && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Fuzzes the readers of untrusted input (settings file, BMP) for a short
# while each, on copies of the seed corpora, so new inputs never land in the
# repository.
FUZZ_TIME ?= 20
FUZZERS := settings bmp
fuzz: deps
	cmake -S . -B $(BUILD)-fuzz -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
	  -DGLYPHARY_FUZZ=ON -DGLYPHARY_BENCH=OFF -DGLYPHARY_TESTS=OFF -DGLYPHARY_GUI=OFF \
	  -DGLYPHARY_WERROR=$(WERROR)
	cmake --build $(BUILD)-fuzz -j $(JOBS) --target $(FUZZERS:%=%_fuzz)
	@for f in $(FUZZERS); do \
	  rm -rf $(BUILD)-fuzz/corpus/$$f && mkdir -p $(BUILD)-fuzz/corpus && \
	  cp -r tests/fuzz/corpus/$$f $(BUILD)-fuzz/corpus/$$f && \
	  $(BUILD)-fuzz/fuzz/$${f}_fuzz -max_total_time=$(FUZZ_TIME) -max_len=4096 \
	    -artifact_prefix=$(BUILD)-fuzz/$$f- $(BUILD)-fuzz/corpus/$$f || exit 1; \
	done

# Every tracked C++ file as clang-format 14 makes it with .clang-format.
check-format:
	@scripts/check-format.sh

# Quick loop while developing: release build and its tests only.
test-fast: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/bench/*; do [ -x "$$b" ] && "$$b" --benchmark_min_time=0.2; done

# Glyphary next to Pillow, ImageMagick, pango-view and OpenCV (installed from
# Debian when missing): every ratio, peer time over ours. A minute or two.
bench-peers: build
	bench/peers/run.sh $(BUILD)

# Installs below PREFIX (bin/, share/glyphary/, the menu entry, icon, man pages).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package, $(BUILD)/glyphary_1.10_<arch>.deb.
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(BUILD)-sanitize $(BUILD)-fuzz $(BUILD)-clang $(BUILD)-arm64

.PHONY: test-clang test-scalar test-arm64

# The release build and every test again with clang/clang++, in its own folder.
test-clang: deps
	CC=clang CXX=clang++ cmake -S . -B $(BUILD)-clang $(CMAKE_FLAGS) -DGLYPHARY_WERROR=$(WERROR)
	cmake --build $(BUILD)-clang -j $(JOBS)
	cd $(BUILD)-clang && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The release build's tests with the plain loops in place of every vector
# kernel, as on processors without x86 vectors.
test-scalar: build
	cd $(BUILD) && GLYPHARY_VECTORS=scalar QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Cross-built for arm64 (GUI included) and every test run under qemu-aarch64:
# about four minutes to build on two cores and four to test. The tests that a
# user-mode emulator cannot run skip themselves or are not registered.
test-arm64:
	scripts/install-deps.sh --arm64
	cmake -S . -B $(BUILD)-arm64 $(CMAKE_FLAGS) -DGLYPHARY_WERROR=$(WERROR) \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake
	cmake --build $(BUILD)-arm64 -j $(JOBS)
	cd $(BUILD)-arm64 && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
