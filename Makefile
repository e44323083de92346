# make demo: build and run the substitute host against the simulated card.
# make test: build and run every suite, plain and under ASan + UBSan.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
BENCH_BUILD ?= build-bench
JOBS ?= 2

PACKAGES = cmake ninja-build g++ binutils pkg-config file \
           libgtest-dev libgmock-dev libbenchmark-dev \
           qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools \
           libgl-dev fonts-wqy-microhei

export ASAN_OPTIONS = detect_leaks=1:abort_on_error=0:strict_string_checks=1
export LSAN_OPTIONS = suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS = print_stacktrace=1:halt_on_error=1

.PHONY: deps demo test test-plain test-sanitize bench clean

deps:
	@tools/install-deps $(PACKAGES)

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DT740_BENCHMARKS=OFF

$(SANITIZE_BUILD)/build.ninja: | deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DT740_SANITIZE=ON -DT740_BENCHMARKS=OFF

demo: deps $(BUILD)/build.ninja
	ninja -C $(BUILD) -j$(JOBS)
	tools/demo $(BUILD)

test-plain: deps $(BUILD)/build.ninja
	ninja -C $(BUILD) -j$(JOBS)
	ctest --test-dir $(BUILD) -j$(JOBS) --output-on-failure --timeout 300

test-sanitize: deps $(SANITIZE_BUILD)/build.ninja
	ninja -C $(SANITIZE_BUILD) -j$(JOBS)
	ctest --test-dir $(SANITIZE_BUILD) -j$(JOBS) --output-on-failure --timeout 600

# Both builds run even when the first fails; the target fails if either did.
test: deps
	@status=0; \
	$(MAKE) --no-print-directory test-plain || status=1; \
	$(MAKE) --no-print-directory test-sanitize || status=1; \
	if [ $$status -ne 0 ]; then echo "make test: FAILED"; else echo "make test: all suites passed"; fi; \
	exit $$status

bench: deps
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release
	ninja -C $(BENCH_BUILD) -j$(JOBS)
	$(BENCH_BUILD)/bench/decoders_bench

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(BENCH_BUILD)
