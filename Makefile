# The two everyday commands: `make run` and `make test`.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test test-asan fuzz clean package

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD)

run: build
	$(BUILD)/cadrelle/cadrelle

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

# The Debian package, $(BUILD)/package/cadrelle_<version>_<arch>.deb (cmake/Package.cmake).
package: build
	@cmake --build $(BUILD) --target package

# The whole suite under AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer: any finding
# fails the run. Reports go to files, so a finding in a program a test starts (the end-to-end run)
# counts too. The suppressions cover leaks inside third-party libraries' own caches only.
ASAN_BUILD ?= build-asan
SANITIZER_LOGS = $(CURDIR)/$(ASAN_BUILD)/sanitizer-logs
SANITIZER_ENV = QT_QPA_PLATFORM=offscreen \
	ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:log_path=$(SANITIZER_LOGS)/asan \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:log_path=$(SANITIZER_LOGS)/ubsan \
	LSAN_OPTIONS=suppressions=$(CURDIR)/cmake/lsan.supp:print_suppressions=0

test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCADRELLE_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD)
	@rm -rf $(SANITIZER_LOGS) && mkdir -p $(SANITIZER_LOGS)
	@cd $(ASAN_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure; status=$$?; \
	if [ -n "$$(ls -A $(SANITIZER_LOGS))" ]; then cat $(SANITIZER_LOGS)/*; echo "Sanitizer findings above"; exit 1; fi; \
	echo "No sanitizer findings"; exit $$status

# The libFuzzer targets, each for a bounded time, on the corpus kept in fuzz/corpus/<target>/.
# clang and its fuzzer runtime are installed here only; `make test` does not need them.
FUZZ_BUILD ?= build-fuzz
FUZZ_TIME ?= 60
FUZZ_TARGETS = $(basename $(notdir $(wildcard fuzz/fuzz_*.cpp)))

fuzz: deps
	@scripts/install-deps --fuzz
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DCADRELLE_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) --target $(FUZZ_TARGETS)
	@for t in $(FUZZ_TARGETS); do \
		mkdir -p fuzz/corpus/$$t $(FUZZ_BUILD)/fuzz/found/$$t && \
		echo "== $$t ($(FUZZ_TIME) s)" && \
		(cd $(FUZZ_BUILD)/fuzz && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
			./$$t -max_total_time=$(FUZZ_TIME) -print_final_stats=1 -artifact_prefix=found/$$t/ \
			found/$$t $(CURDIR)/fuzz/corpus/$$t) || exit 1; \
	done

clean:
	rm -rf $(BUILD)

# The performance driver: catalogues of 1,000, 10,000 and 100,000 documents, each step timed
# against sqlite3 running the same queries; prints the table and writes it to $(BUILD)/bench/results.csv.
# Not part of `make test`. BENCH_ARGS passes options on, e.g. BENCH_ARGS="--runs 9".
.PHONY: bench
BENCH_ARGS ?=
bench: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/cadrelle_bench --csv $(BUILD)/bench/results.csv $(BENCH_ARGS)
