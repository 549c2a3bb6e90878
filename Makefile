# The two commands of the README:
#   make test   install what is missing, check the formatting, build with the
#               sanitizers, run every test
#   make run    install what is missing, build, start the program against the simulator
# and for the fuzz harnesses (fuzz/):
#   make fuzz   build them with clang and libFuzzer, run each for FUZZ_SECONDS
#               (default 60; e.g. make fuzz FUZZ_SECONDS=600, FUZZ="Ini WireImage")
# and, for Windows (README, "Windows"):
#   make windows        cross-build the core, filtaro-cli.exe and the core suites
#   make test-windows   run them under Wine, filtaro-cli.exe (Debug and Release)
#                       against the simulator
# and for a release (README, "Install"):
#   make package        the Debian packages filtaro and filtaro-devsim, checked by lintian
#   make package-test   install them with apt-get, run the programs, purge them
#   make windows-zip    filtaro-cli.exe (Release) zipped with its guide and licences
# Package installation uses apt-get (Debian 12) and installs only what is missing.

PACKAGES := cmake ninja-build g++ qt6-base-dev libgtest-dev libgmock-dev \
            libbenchmark-dev fonts-liberation ccache appstream \
            nlohmann-json3-dev libyaml-cpp-dev qt6-translations-l10n qt6-svg-dev \
            groff-base
FUZZ_PACKAGES := cmake ninja-build g++ clang-14 libclang-rt-14-dev qt6-base-dev qt6-svg-dev
FUZZ_SECONDS ?= 60
FUZZ ?=
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
SIMULATOR ?= 1

.PHONY: deps deps-format deps-fuzz test tsan fuzz run bench build release clean format \
        format-check windows windows-release test-windows package package-test windows-zip

# install-missing PACKAGE...: apt-get install of the packages not yet installed.
define install-missing
	@missing=""; for p in $(1); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	    echo "Installing:$$missing"; \
	    $(SUDO) apt-get update -qq && \
	    DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi
endef

deps:
	$(call install-missing,$(PACKAGES))

deps-format:
	$(call install-missing,clang-format)

deps-fuzz:
	$(call install-missing,$(FUZZ_PACKAGES))

build: deps
	cmake --preset test
	cmake --build --preset test

test: format-check build
	ctest --preset test

# Every suite, the window's included (its end-to-end tests run the device
# simulator's thread beside the window's), built and run under
# ThreadSanitizer; Qt's own threads as tests/tsan.supp says. Not part of
# make test.
tsan: deps
	cmake --preset tsan
	cmake --build --preset tsan
	ctest --preset tsan

# The libFuzzer harnesses, built with clang in build/fuzz and run one after
# the other. Not part of make test, which replays their stored inputs.
fuzz: deps-fuzz
	cmake --preset fuzz
	cmake --build --preset fuzz
	./scripts/fuzz.sh build/fuzz $(FUZZ_SECONDS) $(FUZZ)

release: deps
	cmake --preset release
	cmake --build --preset release

bench: release
	./build/release/bench/filtaro-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

run: release
	SIMULATOR=$(SIMULATOR) ./scripts/run.sh build/release

# Windows, cross-built with MinGW-w64: the core, filtaro-cli.exe and the core
# suites (build/windows), tested under Wine. Not part of make test.
WINDOWS_PACKAGES := cmake ninja-build g++-mingw-w64-x86-64-posix googletest \
                    nlohmann-json3-dev wine64
WINDOWS_TEST_PACKAGES := g++

windows:
	$(call install-missing,$(WINDOWS_PACKAGES))
	./scripts/windows-deps.sh build/windows-deps
	cmake --preset windows
	cmake --build --preset windows

# filtaro-cli.exe as it is released (build/windows-release): optimised,
# stripped, with its version, icon and manifest. The icon is drawn by the
# build host's filtaro-icons, built in build/release first.
windows-release: deps
	$(call install-missing,$(WINDOWS_PACKAGES))
	./scripts/windows-deps.sh build/windows-deps
	cmake --preset release
	cmake --build --preset release --target filtaro-icons
	cmake --preset windows-release
	cmake --build --preset windows-release

# The suites under Wine, and filtaro-cli.exe of both builds against the Linux
# simulator and beside the Linux filtaro-cli (both from the "cli" preset).
test-windows: windows windows-release
	$(call install-missing,$(WINDOWS_TEST_PACKAGES))
	cmake --preset cli
	cmake --build --preset cli
	./scripts/test-windows.sh build/windows build/cli build/windows-release

# The zip of the Windows release: build/package/windows/filtaro-cli-VERSION-win64.zip.
WINDOWS_ZIP_PACKAGES := binutils-mingw-w64-x86-64 unzip

windows-zip: windows-release
	$(call install-missing,$(WINDOWS_ZIP_PACKAGES))
	rm -rf build/package/windows
	cpack --preset windows-zip
	./scripts/check-windows-zip.sh build/package/windows

# The Debian packages of the release build: build/package/deb/filtaro_VERSION-1_ARCH.deb
# and filtaro-devsim_..., checked by lintian (no errors; warnings are listed).
DEB_PACKAGES := dpkg-dev file lintian

package: release
	$(call install-missing,$(DEB_PACKAGES))
	rm -rf build/package/deb
	cpack --preset deb
	lintian --display-info --fail-on error build/package/deb/*.deb

# Installs the packages of make package with apt-get, runs the installed
# programs, purges them and reports what was left behind. Needs root (or
# sudo); not part of make test.
package-test:
	SUDO="$(SUDO)" ./scripts/package-test.sh build/package/deb

# Every C++ file as .clang-format lays it out; format-check fails on the
# first file that is not (make format mends them).
format: deps-format
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format -i

format-check: deps-format
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

clean:
	rm -rf build
