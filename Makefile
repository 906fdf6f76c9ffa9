# Thin convenience layer over the CMake presets.
EXAMPLE ?= examples/group2x2_sand_us.dat

.PHONY: run test asan tsan bench clean

# Build the engine and the host only, then analyse a bundled example (reports beside it in
# out/).
run:
	cmake --preset release >/dev/null && cmake --build --preset release --target torva_host
	mkdir -p out && cp $(EXAMPLE) $(wildcard $(basename $(EXAMPLE)).fem) out/
	./build/release/torva out/$(notdir $(EXAMPLE)); st=$$?; \
	  echo "reports: out/$(basename $(notdir $(EXAMPLE))).out (results), .echo (input echo), .sum (summary), .log (run log)"; exit $$st

# Build and run every test.
test:
	cmake --preset dev >/dev/null && cmake --build --preset dev && ctest --preset dev

asan:
	cmake --preset asan-ubsan >/dev/null && cmake --build --preset asan-ubsan && ctest --preset asan-ubsan

tsan:
	cmake --preset tsan >/dev/null && cmake --build --preset tsan && ctest --preset tsan

bench:
	cmake --preset release >/dev/null && cmake --build --preset release && for b in build/release/bench_*; do $$b; done

clean:
	rm -rf build out
