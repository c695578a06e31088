# Norvu Setup: the two commands and their helpers.
#   make          build build/setup.exe, its payload and the tests
#   make run      build setup.exe and its payload only, then start it under Wine
#   make test     build everything, then run every test
BUILD   := $(CURDIR)/build
NATIVE  := $(BUILD)/native
WIN     := $(BUILD)/win
JOBS    ?= $(shell nproc)
# Authenticode signing (README, "Signing"): SIGN_CERT and SIGN_KEY name PEM
# files, SIGN_PASS_FILE a file that holds the password of an encrypted key
# (only the signing reads it), SIGN_TIMESTAMP_URL asks a server for a time
# stamp. Unset, the build is unsigned.
SIGN_CERT ?=
SIGN_KEY ?=
SIGN_PASS_FILE ?=
SIGN_TIMESTAMP_URL ?=
# Seconds each test under Wine may take: emulating the processor (where
# this machine runs no 32-bit code) makes Wine several times slower.
WINE_TIMEOUT = $(shell bash scripts/emulated-machine.sh needed && echo 1800 || echo 300)
# The password itself is refused wherever it comes from.
ifeq ($(origin SIGN_PASS),command line)
$(error SIGN_PASS on make's command line is refused: any local user can read it there, in the list of processes. \
  Put the password in a file that only you can read, and name the file with SIGN_PASS_FILE)
endif
ifneq ($(filter environment%,$(origin SIGN_PASS)),)
$(error SIGN_PASS in the environment is refused: make would hand it to every command it runs, the tests under \
  Wine included. Put the password in a file that only you can read, and name the file with SIGN_PASS_FILE)
endif

.PHONY: all deps native windows installer test run size bench fuzz screenshots clean

all: windows

deps:
	@bash scripts/install-deps.sh

# Both halves are configured on every build (quick when nothing changed);
# the Windows half uses the native half's host tools.
configure_native = cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release -DCMAKE_RUNTIME_OUTPUT_DIRECTORY=$(NATIVE)/bin >/dev/null
configure_windows = cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DNORVU_HOST_TOOLS=$(NATIVE)/bin -DNORVU_NATIVE_BUILD=$(NATIVE) \
    -DNORVU_SIGN_CERT='$(if $(SIGN_CERT),$(abspath $(SIGN_CERT)))' -DNORVU_SIGN_KEY='$(if $(SIGN_KEY),$(abspath $(SIGN_KEY)))' \
    -DNORVU_SIGN_PASS_FILE='$(if $(SIGN_PASS_FILE),$(abspath $(SIGN_PASS_FILE)))' \
    -DNORVU_SIGN_TIMESTAMP_URL='$(SIGN_TIMESTAMP_URL)' -DNORVU_WINE_TIMEOUT=$(WINE_TIMEOUT) >/dev/null
# setup.exe and the product's files where the README and make run look.
define publish_installer
@cp $(WIN)/setup.exe $(BUILD)/setup.exe
@if [ -d $(WIN)/payload ]; then rm -rf $(BUILD)/payload; cp -r $(WIN)/payload $(BUILD)/payload; fi
@echo "installer: $(BUILD)/setup.exe"
endef

native: deps
	@$(configure_native)
	@cmake --build $(NATIVE) -j $(JOBS)

windows: native
	@$(configure_windows)
	@cmake --build $(WIN) -j $(JOBS)
	$(publish_installer)

# Only what make run starts: the installer with its payload, and the host
# tools that make them (compressor, payload generator, picture and icons).
installer: deps
	@$(configure_native)
	@cmake --build $(NATIVE) -j $(JOBS) --target szdd payloadgen artgen
	@$(configure_windows)
	@cmake --build $(WIN) -j $(JOBS) --target setup
	$(publish_installer)

test: windows
	@bash scripts/run-tests.sh $(WIN) $(JOBS)

run: installer
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
