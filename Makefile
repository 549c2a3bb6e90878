# The two commands of the README:
#   make test   install what is missing, build with the sanitizers, run every test
#   make run    install what is missing, build, start the program against the simulator
# Package installation uses apt-get (Debian 12) and installs only what is missing.

PACKAGES := cmake ninja-build g++ qt6-base-dev libgtest-dev libgmock-dev \
            libbenchmark-dev fonts-liberation ccache nlohmann-json3-dev libyaml-cpp-dev
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
SIMULATOR ?= 1

.PHONY: deps test run bench build release clean format

deps:
	@missing=""; for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	    echo "Installing:$$missing"; \
	    $(SUDO) apt-get update -qq && \
	    DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

build: deps
	cmake --preset test
	cmake --build --preset test

test: build
	ctest --preset test

release: deps
	cmake --preset release
	cmake --build --preset release

bench: release
	./build/release/bench/filtaro-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

run: release
	SIMULATOR=$(SIMULATOR) ./scripts/run.sh build/release

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
