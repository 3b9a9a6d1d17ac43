# The two commands of the README: `make run` and `make test`. Both install what is missing first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
# WERROR=ON makes every compiler warning an error (CI sets it).
WERROR     ?= OFF

.PHONY: all deps build run test test-asan bench fuzz package check-package clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWICK_WERROR=$(WERROR)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/tarnwick

# CTEST_ARGS adds ctest options, e.g. CTEST_ARGS="--repeat until-fail:3".
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) $(CTEST_ARGS)

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTARNWICK_SANITIZE=ON -DTARNWICK_BENCH=OFF -DTARNWICK_WERROR=$(WERROR)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS) $(CTEST_ARGS)

bench: build
	@scripts/run-bench $(BUILD)

# Fuzzes the engine for FUZZ_SECONDS (clang, libFuzzer, ASan and UBSan).
FUZZ_SECONDS ?= 60
fuzz: deps
	@scripts/run-fuzz $(FUZZ_SECONDS)

# A Debian package in the build folder: tarnwick_<version>_<arch>.deb, built with Debian's
# hardening flags (stack protector, fortified functions, read-only relocations bound at start).
BUILDFLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
package: deps
	cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DTARNWICK_TESTS=OFF -DTARNWICK_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS="$$($(BUILDFLAGS) CPPFLAGS) $$($(BUILDFLAGS) CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$($(BUILDFLAGS) LDFLAGS)"
	cmake --build build-release -j $(JOBS)
	cd build-release && cpack
	@ls build-release/*.deb

# The package built anew and checked with lintian, desktop-file-validate, appstreamcli and man.
check-package: deps
	@scripts/check-package

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-fuzz build-release
