# make test           installs what is missing, builds both targets, runs every test suite
# make run [FILE=..]  builds the player and starts it under Wine (the sample clips when no file is given)
# make bench          builds and runs the benchmarks under Wine (a table; not part of make test)
# make build          builds both targets only
# make fuzz           runs every fuzz target for FUZZ_SECONDS (300) each
BUILD ?= build

.PHONY: test run bench build fuzz clean
test:
	@scripts/test.sh $(BUILD)

run:
	@scripts/run.sh $(BUILD) "$(FILE)"

bench:
	@scripts/bench.sh $(BUILD)

build:
	@scripts/build.sh $(BUILD)

fuzz:
	@scripts/fuzz.sh $(BUILD) $(FUZZ_SECONDS)

clean:
	@scripts/wine-session stop $(BUILD)/win32 >/dev/null 2>&1 || true
	@scripts/wine-session stop $(BUILD)/win64 >/dev/null 2>&1 || true
	rm -rf $(BUILD)

# make dist           the zip and the installer for 32- and 64-bit Windows, in $(BUILD)/dist
.PHONY: dist
dist:
	@scripts/dist.sh $(BUILD)
