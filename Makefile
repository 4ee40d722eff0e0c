# make test           installs what is missing, builds both targets, runs every test suite
# make run [FILE=..]  builds the player and starts it under Wine (a sample clip when no file is given)
# make bench          builds and runs the benchmarks under Wine (a table; not part of make test)
# make build          builds both targets only
BUILD ?= build

.PHONY: test run bench build clean
test:
	@scripts/test.sh $(BUILD)

run:
	@scripts/run.sh $(BUILD) "$(FILE)"

bench:
	@scripts/bench.sh $(BUILD)

build:
	@scripts/build.sh $(BUILD)

clean:
	@scripts/wine-session stop $(BUILD)/win32 >/dev/null 2>&1 || true
	rm -rf $(BUILD)
