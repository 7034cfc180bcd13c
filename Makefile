# A thin layer over CMake. `make play` builds and starts the game; `make test`
# builds and runs every test. Both install what is missing first.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps test-deps build play test test-unit clean

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

clean:
	rm -rf $(BUILD)

# `make package` builds the Debian package build/zuba-trilo_<version>_<arch>.deb;
# tools/check-package.sh installs it, tries it and removes it again.
.PHONY: package

package: deps build
	@rm -f $(BUILD)/zuba-trilo_*.deb
	cd $(BUILD) && cpack -G DEB

# The steps of one goal run in order even under `make -j`: the packages must be
# there before the build starts; CMake parallelises the build itself.
.NOTPARALLEL:
