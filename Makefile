# Front door: `make` builds every preset, `make demo` runs the main job on the simulated
# machine, `make test` runs every suite.
PRESETS := host host-asan win32 win64
SOURCES = $(shell git ls-files '*.cpp' '*.h' 2>/dev/null)

.PHONY: all bootstrap demo fuzz test test-host test-host-asan test-win64 check-binaries format \
        format-check clean $(PRESETS:%=build-%)

all: $(PRESETS:%=build-%)

bootstrap:
	@bash scripts/bootstrap.sh

build/%/build.ninja: CMakeLists.txt CMakePresets.json | bootstrap
	cmake --preset $* >/dev/null

$(PRESETS:%=build-%): build-%: bootstrap build/%/build.ninja
	cmake --build --preset $*

demo: build-host
	build/host/bin/printside examples/demo.json
	@echo
	build/host/bin/printside examples/start-before-printing.json

test-host: build-host
	ctest --preset host

test-host-asan: build-host-asan
	ctest --preset host-asan

test-win64: build-win64
	ctest --preset win64; status=$$?; scripts/wine-stop; exit $$status

check-binaries: build-win32
	bash scripts/check-binaries.sh build/win32/bin

test: format-check test-host test-host-asan test-win64 check-binaries fuzz
	@echo "make test: all suites passed"

format:
	clang-format -i $(SOURCES)

format-check:
	@clang-format --dry-run --Werror $(SOURCES)

clean:
	rm -rf build

# Bounded runs of the libFuzzer targets (clang, ASan and UBSan), seeded from tests/fuzz/corpus.
FUZZ_RUNS ?= 20000
fuzz: bootstrap
	cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang \
	    -DCMAKE_CXX_COMPILER=clang++ -DJH_FUZZ=ON -DJH_TESTS=OFF >/dev/null
	cmake --build build/fuzz
	@for f in build/fuzz/bin/fuzz_*; do \
	    name=$$(basename $$f); mkdir -p build/fuzz/corpus/$$name; \
	    echo "fuzz: $$name ($(FUZZ_RUNS) runs)"; \
	    $$f -runs=$(FUZZ_RUNS) -max_len=4096 build/fuzz/corpus/$$name tests/fuzz/corpus/$$name \
	        2>build/fuzz/$$name.log || { tail -40 build/fuzz/$$name.log; exit 1; }; \
	done
