# The two commands of the README, and a few for developers.
#   make run    install what is missing, build Release, start Tavlin
#   make test   install what is missing, build, run every test, again under the sanitizers, and the fuzzers
#   make bench  build Release and run the benchmarks
#   make install  build Release and install it under PREFIX (~/.local)
#   make format format every C++ file with clang-format

BUILD_TEST    ?= build/debug
BUILD_RELEASE ?= build/release
BUILD_FUZZ    ?= build/fuzz
GENERATOR     := -G Ninja
CMAKE_FLAGS   ?=
PREFIX        ?= $(HOME)/.local
ifeq ($(CI),true)
CMAKE_FLAGS   += -DTAVLIN_WERROR=ON
endif

.PHONY: run test fuzz bench install format deps build-test build-release clean

deps:
	@scripts/install-deps

# Configure only once; Ninja re-runs CMake itself when a CMakeLists changes.
$(BUILD_TEST)/build.ninja: | deps
	cmake -S . -B $(BUILD_TEST) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug $(CMAKE_FLAGS)

$(BUILD_RELEASE)/build.ninja: | deps
	cmake -S . -B $(BUILD_RELEASE) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)

# The fuzzers need clang and build everything under the sanitizers, so they
# have a build of their own; the unit tests run there a second time, under
# AddressSanitizer and UndefinedBehaviorSanitizer.
$(BUILD_FUZZ)/build.ninja: | deps
	CXX=clang++ cmake -S . -B $(BUILD_FUZZ) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DTAVLIN_FUZZ=ON \
	    -DTAVLIN_BUILD_TESTS=ON -DTAVLIN_BUILD_BENCHMARKS=OFF $(CMAKE_FLAGS)

build-test: deps $(BUILD_TEST)/build.ninja
	cmake --build $(BUILD_TEST)

build-release: deps $(BUILD_RELEASE)/build.ninja
	cmake --build $(BUILD_RELEASE)

# Shared by test and fuzz, so that test runs the fuzzers without going back
# through deps.
define run-fuzzers
cmake --build $(BUILD_FUZZ) --target fuzzers
cd $(BUILD_FUZZ) && ctest --output-on-failure -j$$(nproc) -L fuzz
endef

test: build-test $(BUILD_FUZZ)/build.ninja
	cd $(BUILD_TEST) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$$(nproc)
	@echo "== The unit tests again, under AddressSanitizer and UndefinedBehaviorSanitizer ($(BUILD_FUZZ))"
	@grep -q '^TAVLIN_BUILD_TESTS:BOOL=ON' $(BUILD_FUZZ)/CMakeCache.txt || cmake -B $(BUILD_FUZZ) -DTAVLIN_BUILD_TESTS=ON
	cmake --build $(BUILD_FUZZ)
	cd $(BUILD_FUZZ) && ctest --output-on-failure -j$$(nproc) -LE fuzz
	$(run-fuzzers)

fuzz: deps $(BUILD_FUZZ)/build.ninja
	$(run-fuzzers)

# Only the program: a first run does not wait for the tests and benchmarks.
run: deps $(BUILD_RELEASE)/build.ninja
	cmake --build $(BUILD_RELEASE) --target tavlin
	$(BUILD_RELEASE)/src/app/tavlin

# Only what it installs: the program (the other files are copied as they are).
install: deps $(BUILD_RELEASE)/build.ninja
	cmake --build $(BUILD_RELEASE) --target tavlin
	cmake --install $(BUILD_RELEASE) --prefix "$(PREFIX)"

bench: build-release
	cmake --build $(BUILD_RELEASE) --target benchmarks
	@for b in $(BUILD_RELEASE)/bench/*/bench_*; do \
	    [ -f "$$b" ] && [ -x "$$b" ] || continue; echo "== $$b"; "$$b"; done
	bench/mcp/server-throughput.sh $(BUILD_RELEASE)
	bench/devmodes/parse-switches.sh $(BUILD_RELEASE)

format: deps
	@scripts/format

clean:
	rm -rf build
