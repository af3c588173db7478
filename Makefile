# make run   - install what is missing, build, and start Lanternwick
# make test  - install what is missing, build with sanitizers, and run every test
# make bench - build and run the benchmarks, then time a login against dex
# make fuzz  - build the fuzz targets with clang and run them for FUZZ_SECONDS in all
JOBS ?= $(shell nproc)
RUN_DIR := build/run
TEST_DIR := build/test
BENCH_DIR := build/bench
FUZZ_DIR := build/fuzz
FUZZ_SECONDS ?= 20

.PHONY: run test bench fuzz deps build-run build-test build-bench build-fuzz clean

deps:
	@scripts/install-deps

build-run: deps
	cmake -S . -B $(RUN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLW_BUILD_TESTS=OFF
	@scripts/build $(RUN_DIR) -j $(JOBS)

run: build-run
	@scripts/run-app $(RUN_DIR)

build-test: deps
	cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLW_SANITIZE=ON -DLW_WERROR=ON
	@scripts/build $(TEST_DIR) -j $(JOBS)

# The fuzzers run first so that the test runner's summary closes the output.
test: build-test fuzz
	@scripts/run-tests $(TEST_DIR) $(JOBS)

build-fuzz: deps
	cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DLW_FUZZ=ON -DLW_BUILD_TESTS=OFF
	@scripts/build $(FUZZ_DIR) -j $(JOBS) --target database_loader_fuzzer old_store_reader_fuzzer

fuzz: build-fuzz
	@scripts/run-fuzzers $(FUZZ_DIR) $(FUZZ_SECONDS)

build-bench: deps
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DLW_BUILD_TESTS=OFF -DLW_BUILD_BENCH=ON
	@scripts/build $(BENCH_DIR) -j $(JOBS)

# Then a login of 50 and of 400 items against dex (installed when missing).
bench: build-bench
	@for b in $(BENCH_DIR)/bench/*_bench; do [ -x "$$b" ] && "$$b"; done; true
	scripts/bench-login 50 $(BENCH_DIR)
	scripts/bench-login 400 $(BENCH_DIR)

clean:
	rm -rf build
