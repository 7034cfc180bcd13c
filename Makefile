# A thin layer over CMake. `make play` builds and starts the game; `make test`
# builds and runs every test. Both install what is missing first.
# `make sanitize-test`, `make fuzz` and `make static-check` are the extra
# checks that CI runs, each in its own build directory.
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
CHECK_BUILD ?= build-check
WEB_BUILD ?= build-web
WEB_PORT ?= 8000
FUZZ_SECONDS ?= 60
ASAN_E2E_SKIP ?= ^e2e_(comforts|demo_files)$$
JOBS ?= $(shell nproc)

# Sanitizer findings stop the test that made them. Leak reports from SDL and
# the libraries it loads are suppressed by name (scripts/lsan.supp).
ASAN_COMMON = check_initialization_order=1:strict_init_order=1
SAN_ENV = ASAN_OPTIONS=$(ASAN_COMMON):detect_leaks=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp

# The end-to-end tests drive a real X server and window manager, whose timing
# a busy machine can upset: a failing test runs once more, and fails the run
# only when it fails twice. (The unit tests never depend on timing.)
E2E_RETRY = --repeat until-pass:2

.PHONY: all deps test-deps build play test test-unit bench clean sanitize-test fuzz static-check \
	web serve-web test-web mutants

all: build

deps:
	@bash scripts/install-deps.sh

test-deps:
	@bash scripts/install-deps.sh --test

# Our own builds treat warnings as errors (ZUBA_WERROR); a build folder
# configured without it is configured again.
$(BUILD)/CMakeCache.txt:
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZUBA_WERROR=ON >/dev/null

build: $(BUILD)/CMakeCache.txt
	@grep -qx 'ZUBA_WERROR:BOOL=ON' $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) -DZUBA_WERROR=ON >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

play: deps build
	./$(BUILD)/zuba-trilo

test: test-deps build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) $(E2E_RETRY)

test-unit: test-deps build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -L unit

# Every test again with AddressSanitizer and UndefinedBehaviorSanitizer. The
# two longest end-to-end tests, which play minutes of recorded and paused games
# in a window through the same code the unit tests and the other window tests
# reach, are left to the normal build (ASAN_E2E_SKIP; empty runs them too). The
# end-to-end tests run without leak checks: in an X server SDL loads its X11
# and graphics libraries at run time and unloads them at shutdown, so what
# they leave behind shows only as "<unknown module>" and no suppression can
# single it out. The unit tests keep leak checking.
sanitize-test: test-deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZUBA_SANITIZE=ON -DZUBA_BENCH=OFF \
		-DZUBA_WERROR=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && { $(SAN_ENV) ctest --output-on-failure -j $(JOBS) -LE e2e; unit=$$?; \
		$(SAN_ENV) ASAN_OPTIONS=$(ASAN_COMMON):detect_leaks=0 ctest --output-on-failure -j $(JOBS) -L e2e $(E2E_RETRY) \
			$(if $(ASAN_E2E_SKIP),-E '$(ASAN_E2E_SKIP)'); \
		e2e=$$?; [ $$unit -eq 0 ] && [ $$e2e -eq 0 ]; }

# The fuzz targets (clang, libFuzzer) from the committed seeds, FUZZ_SECONDS in all.
fuzz: test-deps
	@cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DZUBA_FUZZ=ON -DZUBA_TESTS=OFF -DZUBA_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	bash scripts/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

static-check: test-deps
	bash scripts/static-check.sh $(CHECK_BUILD)

# `make bench` prints figures (the timed demo before and after changed-rectangle
# presenting, and the micro benchmarks); it never passes or fails on time and
# is not part of `make test`. BEFORE_PASSES=0 plays the "before" runs whole.
bench: test-deps $(BUILD)/CMakeCache.txt
	@cmake --build $(BUILD) -j $(JOBS) >$(BUILD)/bench-build.log 2>&1 || { cat $(BUILD)/bench-build.log; exit 1; }
	@bash bench/run_bench.sh $(BUILD) .

# `make mutants` plants each one-line fault of scripts/mutants.txt in a copy of
# the sources (build-mutants/), rebuilds, runs the unit and quick end-to-end
# tests and prints which test killed it. MUTANTS_ARGS=--half plays every other
# fault, MUTANTS_ARGS="--only TEXT" the faults whose line holds TEXT.
mutants: test-deps
	bash scripts/mutants.sh $(MUTANTS_ARGS)

clean:
	rm -rf $(BUILD)

# The browser build: build-web/ holds index.html, zuba-trilo.js and .wasm, the
# manifest, icons and offline copy (sw.js) that make it installable (and the
# replay driver for Node.js). Emscripten is installed only for these goals,
# chromium only for test-web. Debian's emscripten finds its 'acorn' through
# NODE_PATH.
WEB_ENV = NODE_PATH=/usr/share/nodejs
WEB_FILES = index.html zuba-trilo.js zuba-trilo.wasm manifest.webmanifest icon-192.png icon-512.png sw.js
web:
	@bash scripts/install-deps.sh --web
	@$(WEB_ENV) emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@$(WEB_ENV) cmake --build $(WEB_BUILD) -j $(JOBS)
	@total=0; for f in $(WEB_FILES); do \
		z=$$(gzip -9c $(WEB_BUILD)/$$f | wc -c); total=$$((total + z)); \
		printf '%-22s %7d bytes, %6d gzipped\n' $$f $$(stat -c %s $(WEB_BUILD)/$$f) $$z; done; \
		printf '%-22s %7s        %6d gzipped (a first visit downloads all of it)\n' 'the page in all' '' $$total

serve-web: web
	@echo "Play at http://127.0.0.1:$(WEB_PORT)/ (Ctrl+C stops the server)"
	@cd $(WEB_BUILD) && python3 -m http.server $(WEB_PORT) --bind 127.0.0.1

# Not part of `make test`: the browser build's traces under Node.js and the
# page in headless Chromium (scripts/test-web.sh).
test-web: web
	@bash scripts/install-deps.sh --web-test
	bash scripts/test-web.sh $(WEB_BUILD)

# The Windows build, cross-built with mingw-w64 into build-windows/: SDL 2 and
# sdl12-compat from the source tarballs in WINDOWS_VENDOR (default
# ../shared/vendor), built once into a cache outside the clone
# (scripts/build-windows-deps.sh), then the game's two exes and the two
# downloads, zuba-trilo-<version>-win64.zip and -setup.exe
# (scripts/package-windows.sh). `make test-windows` builds the unit tests
# for Windows as well (the target windows-tests) and the Linux replay
# driver (to play a demo recorded under Wine), and tries it all under Wine
# (scripts/test-windows.sh); it is not part of `make test`.
WINDOWS_BUILD ?= build-windows
WINDOWS_VENDOR ?=
.PHONY: windows test-windows
windows:
	@bash scripts/install-deps.sh --windows
	@prefix=$$(JOBS=$(JOBS) bash scripts/build-windows-deps.sh $(WINDOWS_VENDOR)) && \
	cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
		-DZUBA_WINDOWS_DEPS="$$prefix" -DCMAKE_BUILD_TYPE=Release -DZUBA_WERROR=ON \
		-DZUBA_TESTS=ON -DZUBA_BENCH=OFF -DZUBA_TOOLS=OFF >/dev/null && \
	cmake --build $(WINDOWS_BUILD) -j $(JOBS) && \
	bash scripts/package-windows.sh $(WINDOWS_BUILD) "$$prefix"

test-windows: windows $(BUILD)/CMakeCache.txt
	@bash scripts/install-deps.sh --windows-test
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target windows-tests
	@cmake --build $(BUILD) -j $(JOBS) --target zuba-trilo-replay
	bash scripts/test-windows.sh $(WINDOWS_BUILD) . $(BUILD)/zuba-trilo-replay

# `make package` builds the Debian package from debian/ with
# dpkg-buildpackage (unsigned, binary only) and moves what it writes into the
# parent folder into $(BUILD)/: zuba-trilo_<version>_<arch>.deb, its debug
# symbols, .buildinfo and .changes. The build log is $(BUILD)/package.log.
# scripts/check-package.sh lints, installs, tries and removes the package.
.PHONY: package package-deps

package-deps:
	@bash scripts/install-deps.sh --package

package: package-deps
	@mkdir -p $(BUILD)
	@rm -f $(BUILD)/zuba-trilo_* $(BUILD)/zuba-trilo-dbgsym_*
	@version=$$(dpkg-parsechangelog -S Version); arch=$$(dpkg-architecture -qDEB_HOST_ARCH); \
	dpkg-buildpackage -us -uc -b -J$(JOBS) >$(BUILD)/package.log 2>&1; status=$$?; \
	for f in ../zuba-trilo_$${version}_$${arch}.deb ../zuba-trilo-dbgsym_$${version}_$${arch}.deb \
	         ../zuba-trilo_$${version}_$${arch}.buildinfo ../zuba-trilo_$${version}_$${arch}.changes; do \
		[ ! -e "$$f" ] || mv "$$f" $(BUILD)/; \
	done; \
	if [ $$status -ne 0 ]; then tail -n 40 $(BUILD)/package.log; echo "package build failed: $(BUILD)/package.log"; exit 1; fi; \
	debian/rules clean >>$(BUILD)/package.log 2>&1; \
	echo "$(BUILD)/zuba-trilo_$${version}_$${arch}.deb"

# The steps of one goal run in order even under `make -j`: the packages must be
# there before the build starts; CMake parallelises the build itself.
.NOTPARALLEL:
