BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test bench fuzz tsan clean

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
	tst_curatordownloads tst_save tst_library
empty :=
space := $(empty) $(empty)
tsan:
	@cmake -S . -B build-tsan -G Ninja -DSTASHWELL_TSAN=ON >/dev/null
	@cmake --build build-tsan -j $(JOBS) --target $(TSAN_TESTS)
	@cd build-tsan && TSAN_OPTIONS="halt_on_error=1 exitcode=66 suppressions=$(CURDIR)/tests/tsan.supp" \
		ctest --output-on-failure -j $(JOBS) -R '^($(subst $(space),|,$(TSAN_TESTS)))$$'

clean:
	rm -rf $(BUILD) build-fuzz build-tsan
