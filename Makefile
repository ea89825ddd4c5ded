BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test bench fuzz clean

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

clean:
	rm -rf $(BUILD) build-fuzz
