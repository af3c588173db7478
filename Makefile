# make run   - install what is missing, build, and start Lanternwick
# make test  - install what is missing, build with sanitizers, and run every test
# make bench - build and run the benchmarks
JOBS ?= $(shell nproc)
RUN_DIR := build/run
TEST_DIR := build/test
BENCH_DIR := build/bench

.PHONY: run test bench deps build-run build-test build-bench clean

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

test: build-test
	scripts/run-tests $(TEST_DIR) $(JOBS)

build-bench: deps
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DLW_BUILD_TESTS=OFF -DLW_BUILD_BENCH=ON
	cmake --build $(BENCH_DIR) -j $(JOBS)

bench: build-bench
	@for b in $(BENCH_DIR)/bench/*_bench; do [ -x "$$b" ] && "$$b"; done; true

clean:
	rm -rf build
