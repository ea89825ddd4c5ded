BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test bench fuzz tsan asan monkey clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@exec $(BUILD)/src/Stashwell/stashwell

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE bench

bench: build
	@cmake --build $(BUILD) --target benchmarks -j $(JOBS)
	@$(BUILD)/bench/run-benchmarks $(BUILD)/bench-results.txt

# make fuzz FUZZ_SECONDS=600 [FUZZ_TARGETS="json url"]: each fuzz target for that long (60 s by default).
fuzz:
	@scripts/install-deps --fuzz
	@scripts/fuzz $(or $(FUZZ_SECONDS),60) $(FUZZ_TARGETS)

# make tsan: the tests of the archive, its writer thread and the Curator under ThreadSanitizer, in
# build-tsan; any report of a data race fails them. Not part of make test.
TSAN_TESTS := tst_archivewriter tst_archive tst_filearchive tst_curator tst_curatoredits tst_curatorkeeping \
	tst_curatordownloads tst_save tst_library tst_parallel
empty :=
space := $(empty) $(empty)
tsan:
	@cmake -S . -B build-tsan -G Ninja -DSTASHWELL_TSAN=ON >/dev/null
	@cmake --build build-tsan -j $(JOBS) --target $(TSAN_TESTS)
	@cd build-tsan && TSAN_OPTIONS="halt_on_error=1 exitcode=66 suppressions=$(CURDIR)/tests/tsan.supp" \
		ctest --output-on-failure -j $(JOBS) -R '^($(subst $(space),|,$(TSAN_TESTS)))$$'

# make asan: every program and test (the random walk and the whole application included) under
# AddressSanitizer and UndefinedBehaviorSanitizer, in build-asan; any report ends the program that
# made it, which fails its test. Not part of make test. Leaks are not looked for: Qt, fontconfig
# and GStreamer keep their caches to the end of the process by design, and would bury ours.
ASAN_ENV := ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=0" \
	UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
asan:
	@cmake -S . -B build-asan -G Ninja -DSTASHWELL_ASAN=ON >/dev/null
	@cmake --build build-asan -j $(JOBS)
	@cd build-asan && $(ASAN_ENV) ctest --output-on-failure -j $(JOBS) -LE bench

# make monkey SEEDS="1 2 3" STEPS=100000 [BUILD=build-asan]: long random walks over the library
# window, one process per seed, MONKEY_JOBS at a time; a failure prints its seed, its steps and
# the shrunk sequence to keep as a regression row.
SEEDS ?= 1 2 3 4 5 6
STEPS ?= 20000
MONKEY_JOBS ?= 3
monkey:
	@test -f $(BUILD)/build.ninja || cmake -S . -B $(BUILD) -G Ninja >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target tst_randomwalk
	@echo $(SEEDS) | tr ' ' '\n' | $(ASAN_ENV) QT_QPA_PLATFORM=offscreen STASHWELL_WALK_STEPS=$(STEPS) \
		xargs -P $(MONKEY_JOBS) -I{} env STASHWELL_WALK_SEEDS={} $(BUILD)/tests/Stashwell/Walk/tst_randomwalk walk

clean:
	rm -rf $(BUILD) build-fuzz build-tsan build-asan
