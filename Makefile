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
# The fuzz targets share the time.
FUZZ_TARGET_SECONDS = $(shell expr $(FUZZ_SECONDS) / 2)

.PHONY: run test bench fuzz deps build-run build-test build-bench build-fuzz clean

deps:
	@scripts/install-deps

build-run: deps
	cmake -S . -B $(RUN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLW_BUILD_TESTS=OFF
	cmake --build $(RUN_DIR) -j $(JOBS)

run: build-run
	@scripts/run-app $(RUN_DIR)

build-test: deps
	cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLW_SANITIZE=ON -DLW_WERROR=ON
	cmake --build $(TEST_DIR) -j $(JOBS)

# The fuzzer runs first so that the test runner's summary closes the output.
test: build-test fuzz
	scripts/run-tests $(TEST_DIR) $(JOBS)

build-fuzz: deps
	cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DLW_FUZZ=ON -DLW_BUILD_TESTS=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target database_loader_fuzzer old_store_reader_fuzzer

# New inputs go to the build folder; the seed corpus in fuzz/ stays as committed.
fuzz: build-fuzz
	mkdir -p $(FUZZ_DIR)/corpus $(FUZZ_DIR)/old-store-corpus
	$(FUZZ_DIR)/fuzz/database_loader_fuzzer -max_total_time=$(FUZZ_TARGET_SECONDS) -dict=fuzz/database.dict \
	  -artifact_prefix=$(FUZZ_DIR)/ -print_final_stats=1 $(FUZZ_DIR)/corpus fuzz/corpus
	$(FUZZ_DIR)/fuzz/old_store_reader_fuzzer -max_total_time=$(FUZZ_TARGET_SECONDS) -max_len=16384 \
	  -artifact_prefix=$(FUZZ_DIR)/ -print_final_stats=1 $(FUZZ_DIR)/old-store-corpus fuzz/old-store-corpus

build-bench: deps
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DLW_BUILD_TESTS=OFF -DLW_BUILD_BENCH=ON
	cmake --build $(BENCH_DIR) -j $(JOBS)

# Then a login of 50 and of 400 items against dex (installed when missing).
bench: build-bench
	@for b in $(BENCH_DIR)/bench/*_bench; do [ -x "$$b" ] && "$$b"; done; true
	scripts/bench-login 50 $(BENCH_DIR)
	scripts/bench-login 400 $(BENCH_DIR)

clean:
	rm -rf build
