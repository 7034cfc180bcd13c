# A thin layer over CMake. `make play` builds and starts the game; `make test`
# builds and runs every test. Both install what is missing first.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps test-deps build play test test-unit bench clean

all: build

deps:
	@bash tools/install-deps.sh

test-deps:
	@bash tools/install-deps.sh --test

$(BUILD)/CMakeCache.txt:
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: $(BUILD)/CMakeCache.txt
	@cmake --build $(BUILD) -j $(JOBS)

play: deps build
	./$(BUILD)/zuba-trilo

test: test-deps build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-unit: test-deps build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -L unit

# `make bench` prints figures (the timed demo before and after changed-rectangle
# presenting, and the micro benchmarks); it never passes or fails on time and
# is not part of `make test`. BEFORE_PASSES=0 plays the "before" runs whole.
bench: test-deps $(BUILD)/CMakeCache.txt
	@cmake --build $(BUILD) -j $(JOBS) >$(BUILD)/bench-build.log 2>&1 || { cat $(BUILD)/bench-build.log; exit 1; }
	@bash bench/run_bench.sh $(BUILD) .

clean:
	rm -rf $(BUILD)

# `make package` builds the Debian package build/zuba-trilo_<version>_<arch>.deb;
# tools/check-package.sh installs it, tries it and removes it again.
.PHONY: package

package: deps build
	@rm -f $(BUILD)/zuba-trilo_*.deb
	cd $(BUILD) && cpack -G DEB
