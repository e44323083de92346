# make demo: build and run the substitute host against the simulated card.
# make baselines: re-bless the windows' baseline pictures after an intended
#                 change to how they look; the README's pictures come along.
# make test: build and run every suite, plain and under ASan + UBSan, then
#            the ThreadSanitizer checks and a short run of every fuzz target.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
TSAN_BUILD ?= build-tsan
BENCH_BUILD ?= build-bench
FUZZ_SECONDS ?= 3
JOBS ?= 2
# Test builds: optimised a little, line tables only, to keep the test
# command short on two cores.
TEST_FLAGS = -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS="-O1 -g1" -DT740_BENCHMARKS=OFF

PACKAGES = cmake ninja-build g++ clang libclang-rt-14-dev binutils pkg-config file dpkg-dev \
           libgtest-dev libgmock-dev libbenchmark-dev \
           qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools \
           qt6-translations-l10n libgl-dev fonts-wqy-microhei libsnmp-dev snmp xvfb xdotool lintian smitools \
           optipng libyaml-cpp-dev libcpp-httplib-dev libssl-dev libcrypt-dev openssl prometheus \
           prometheus-snmp-exporter prometheus-alertmanager python3 curl libcurl4-openssl-dev \
           libsqlite3-dev chromium chromium-driver python3-selenium

export ASAN_OPTIONS = detect_leaks=1:abort_on_error=0:strict_string_checks=1
export LSAN_OPTIONS = suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS = print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS = ignore_noninstrumented_modules=1:suppressions=$(CURDIR)/tests/tsan.supp:halt_on_error=1

.PHONY: deps demo test test-plain test-sanitize test-thread test-fuzz bench baselines clean

deps:
	@tools/install-deps $(PACKAGES)

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DT740_BENCHMARKS=OFF

demo: deps $(BUILD)/build.ninja
	ninja -C $(BUILD) -j$(JOBS) t740-host
	tools/demo $(BUILD)

test-plain: deps
	cmake -S . -B $(BUILD)-test -G Ninja $(TEST_FLAGS)
	ninja -C $(BUILD)-test -j$(JOBS)
	ctest --test-dir $(BUILD)-test -j$(JOBS) --output-on-failure --timeout 300

# ASan's dlopen interceptor hides t740-host's run path from the loader, so the
# sanitized host finds the plug-in by LD_LIBRARY_PATH; the real X server suite
# and the browser's run of the alarm desk run in the plain build only (the
# desk's API runs sanitized in the alerter's own end-to-end suite).
test-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja $(TEST_FLAGS) -DT740_SANITIZE=ON
	ninja -C $(SANITIZE_BUILD) -j$(JOBS)
	LD_LIBRARY_PATH=$(abspath $(SANITIZE_BUILD))/src \
	  ctest --test-dir $(SANITIZE_BUILD) -j$(JOBS) --output-on-failure --timeout 600 -LE 'package|x11|desk'

test-thread: deps
	cmake -S . -B $(TSAN_BUILD) -G Ninja $(TEST_FLAGS) -DT740_TSAN=ON
	ninja -C $(TSAN_BUILD) -j$(JOBS) soak_tests thread_check_tests exporter_tests exporter_soak_tests \
	  alerter_unit_tests alerter_notification_tests alerter_end_to_end_tests \
	  t740-exporter t740-alerter t740-sim
	ctest --test-dir $(TSAN_BUILD) -j$(JOBS) --output-on-failure --timeout 600 \
	  -L 'soak|thread|exporter|alerter'

test-fuzz: deps
	tools/fuzz $(FUZZ_SECONDS)

# Every part runs even when one fails; the target fails if any did.
test: deps
	@status=0; \
	for part in test-plain test-sanitize test-thread test-fuzz; do \
	  $(MAKE) --no-print-directory $$part || { echo "make test: $$part FAILED"; status=1; }; \
	done; \
	if [ $$status -eq 0 ]; then echo "make test: all suites passed"; fi; \
	exit $$status

BASELINES = tests/baselines/pictures
README_PICTURES = poll-progress config-device config-loopback config-section-overhead \
                  config-path-overhead config-port-users shield thresholds-first-port \
                  thresholds-second-port

# optipng only makes the checked-in pictures smaller; the comparison reads
# any PNG.
baselines: deps
	cmake -S . -B $(BUILD)-test -G Ninja $(TEST_FLAGS)
	ninja -C $(BUILD)-test -j$(JOBS) window_baseline_tests
	rm -rf $(BASELINES)
	T740_BLESS_BASELINES=1 ctest --test-dir $(BUILD)-test -j$(JOBS) --output-on-failure -L baseline
	optipng -quiet -o2 -strip all $(BASELINES)/*/*.png
	for picture in $(README_PICTURES); do cp $(BASELINES)/x1/$$picture.png docs/screenshots/; done

bench: deps
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release
	ninja -C $(BENCH_BUILD) -j$(JOBS)
	$(BENCH_BUILD)/bench/decoders_bench
	$(BENCH_BUILD)/bench/config_latency
	$(BENCH_BUILD)/bench/snmp_latency
	$(BENCH_BUILD)/bench/exporter_sweep
	$(BENCH_BUILD)/bench/alarm_log_bench

clean:
	rm -rf $(BUILD) $(BUILD)-test $(SANITIZE_BUILD) $(TSAN_BUILD) $(BENCH_BUILD) build-fuzz
