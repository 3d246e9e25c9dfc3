# Front door: `make` builds every preset, `make demo` runs the main job on the simulated
# machine, `make test` runs every suite.
PRESETS := host host-asan win32 win64
SOURCES = $(shell git ls-files '*.cpp' '*.h' 2>/dev/null)

.PHONY: all bootstrap demo test test-host test-host-asan test-win64 check-binaries format \
        format-check clean $(PRESETS:%=build-%)

all: $(PRESETS:%=build-%)

bootstrap:
	@bash scripts/bootstrap.sh

build/%/build.ninja: CMakeLists.txt CMakePresets.json | bootstrap
	cmake --preset $* >/dev/null

$(PRESETS:%=build-%): build-%: bootstrap build/%/build.ninja
	cmake --build --preset $*

demo: build-host
	build/host/bin/printside --demo examples/demo.json

test-host: build-host
	ctest --preset host

test-host-asan: build-host-asan
	ctest --preset host-asan

test-win64: build-win64
	ctest --preset win64; status=$$?; scripts/wine-stop; exit $$status

check-binaries: build-win32
	bash scripts/check-binaries.sh build/win32/bin

test: format-check test-host test-host-asan test-win64 check-binaries
	@echo "make test: all suites passed"

format:
	clang-format -i $(SOURCES)

format-check:
	@clang-format --dry-run --Werror $(SOURCES)

clean:
	rm -rf build
