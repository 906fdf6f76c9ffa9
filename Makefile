# Thin convenience layer over the CMake presets.
EXAMPLE ?= examples/group2x2_sand_us.dat
# Cores for the build and the tests: `make test JOBS=3` on a shared machine (default: all).
JOBS ?=
J := $(if $(JOBS),-j$(JOBS))

.PHONY: run test asan tsan bench clean

# Build the engine and the host only, then analyse a bundled example (reports beside it in
# out/).
run:
	cmake --preset release >/dev/null && cmake --build --preset release $(J) --target torva_host
	mkdir -p out && cp $(EXAMPLE) $(wildcard $(basename $(EXAMPLE)).fem) out/
	./build/release/torva out/$(notdir $(EXAMPLE)); st=$$?; \
	  echo "reports: out/$(basename $(notdir $(EXAMPLE))).out (results), .echo (input echo), .sum (summary), .log (run log)"; exit $$st

# Build and run every test.
test:
	cmake --preset dev >/dev/null && cmake --build --preset dev $(J) && ctest --preset dev $(J)

asan:
	cmake --preset asan-ubsan >/dev/null && cmake --build --preset asan-ubsan $(J) && ctest --preset asan-ubsan $(J)

tsan:
	cmake --preset tsan >/dev/null && cmake --build --preset tsan $(J) && ctest --preset tsan $(J)

bench:
	cmake --preset release >/dev/null && cmake --build --preset release $(J) && for b in build/release/bench_*; do $$b; done

clean:
	rm -rf build out
