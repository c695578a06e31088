# Norvu Setup: the two commands and their helpers.
#   make          build build/setup.exe
#   make run      build, then start setup.exe under Wine
#   make test     build, then run every test
BUILD   := $(CURDIR)/build
NATIVE  := $(BUILD)/native
WIN     := $(BUILD)/win
JOBS    ?= $(shell nproc)

.PHONY: all deps native windows test run size bench fuzz screenshots clean

all: windows

deps:
	@bash scripts/install-deps.sh

native: deps
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release -DCMAKE_RUNTIME_OUTPUT_DIRECTORY=$(NATIVE)/bin >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

windows: native
	@cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=MinSizeRel \
	    -DNORVU_HOST_TOOLS=$(NATIVE)/bin -DNORVU_NATIVE_BUILD=$(NATIVE) >/dev/null
	@cmake --build $(WIN) -j $(JOBS)
	@cp $(WIN)/setup.exe $(BUILD)/setup.exe
	@if [ -d $(WIN)/payload ]; then rm -rf $(BUILD)/payload; cp -r $(WIN)/payload $(BUILD)/payload; fi
	@echo "installer: build/setup.exe"

test: windows
	@bash scripts/run-tests.sh $(WIN) $(JOBS)

run: windows
	@bash scripts/run-setup.sh $(BUILD)

size: windows
	@bash scripts/size-report.sh $(BUILD)

bench: windows
	@bash scripts/bench.sh

fuzz: native
	@NORVU_BUILD=$(BUILD) bash scripts/fuzz.sh $(or $(FUZZ_SECONDS),60)

screenshots: windows
	@bash scripts/screenshots.sh $(BUILD)

clean:
	rm -rf $(BUILD)
