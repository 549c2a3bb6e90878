# The two commands of the README:
#   make test   install what is missing, build with the sanitizers, run every test
#   make run    install what is missing, build, start the program against the simulator
# Package installation uses apt-get (Debian 12) and installs only what is missing.

PACKAGES := cmake ninja-build g++ qt6-base-dev libgtest-dev libgmock-dev \
            libbenchmark-dev fonts-liberation ccache appstream \
            nlohmann-json3-dev libyaml-cpp-dev qt6-translations-l10n
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
SIMULATOR ?= 1

.PHONY: deps deps-format test tsan run bench build release clean format

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

build: deps
	cmake --preset test
	cmake --build --preset test

test: build
	ctest --preset test

# The suites that run without Qt (the core, the simulator's threads, the
# CLI), built and run under ThreadSanitizer. Not part of make test.
tsan: deps
	cmake --preset tsan
	cmake --build --preset tsan
	ctest --preset tsan

release: deps
	cmake --preset release
	cmake --build --preset release

bench: release
	./build/release/bench/filtaro-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

run: release
	SIMULATOR=$(SIMULATOR) ./scripts/run.sh build/release

format: deps-format
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
