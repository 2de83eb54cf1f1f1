# Two entry points that work on a fresh Debian 12 machine:
#   make run   installs what is missing, builds, starts the simulated unit and the program
#   make test  installs what is missing, builds and runs the whole test suite
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
PACKAGES := cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev qt6-svg-dev \
            libqcustomplot-dev libfftw3-dev libgl1-mesa-dev libgtest-dev libgmock-dev \
            libbenchmark-dev xvfb xauth ccache libwmf-bin fonts-urw-base35 poppler-utils

.PHONY: deps build run test bench package clean

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

run: build
	./scripts/run-with-sim.sh $(BUILD)/bin

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS) --timeout 300

# The Debian package of the classroom: build/quorvane_<version>_<arch>.deb.
package: build
	$(MAKE) --no-print-directory PACKAGES="dpkg-dev" deps
	cmake --build $(BUILD) --target package

bench: deps
	cmake -S . -B $(BUILD)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_TESTS=OFF -DQV_BUILD_BENCH=ON
	cmake --build $(BUILD)-bench -j$(JOBS)
	for b in $(BUILD)-bench/bench/*; do $$b --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done

clean:
	rm -rf $(BUILD) $(BUILD)-bench
