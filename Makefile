# Two entry points that work on a fresh Debian 12 machine:
#   make run   installs what is missing, builds, starts the simulated unit and the program
#   make test  installs what is missing, builds and runs the whole test suite (which builds
#              the Debian package, checks it with lintian and, as root, installs and purges it)
#   make fuzz  builds the libFuzzer targets (build-fuzz) and runs each for FUZZ_SECONDS
#   make package  builds the Debian package of the classroom
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
PACKAGES := cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev qt6-svg-dev \
            libqcustomplot-dev libfftw3-dev libgl1-mesa-dev libgtest-dev libgmock-dev \
            libbenchmark-dev xvfb xauth ccache libwmf-bin fonts-urw-base35 poppler-utils file qt6-translations-l10n \
            nettle-dev x11vnc libxcb1-dev libgsl-dev libsigrokdecode-dev
# The package and its checks: lintian, the desktop's validators and file types, opening
# a file from the desktop, the manual pages and the relay service's unit.
PACKAGES += dpkg-dev lintian desktop-file-utils appstream shared-mime-info xdg-utils libfile-mimeinfo-perl \
            xdotool man-db systemd

FUZZ_BUILD ?= $(BUILD)-fuzz
FUZZ_SECONDS ?= 60
# One input that runs longer than FUZZ_TIMEOUT seconds is a finding (a hang); inputs
# grow to FUZZ_MAX_LEN bytes, enough for every file and reply the targets read.
FUZZ_TIMEOUT ?= 25
FUZZ_MAX_LEN ?= 65536
FUZZ_PACKAGES := clang-14 libclang-rt-14-dev
CCACHE := $(shell command -v ccache >/dev/null 2>&1 && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

.PHONY: deps build run test bench fuzz package clean

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
	cmake --build $(BUILD) --target package

bench: deps
	cmake -S . -B $(BUILD)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_TESTS=OFF -DQV_BUILD_BENCH=ON
	cmake --build $(BUILD)-bench -j$(JOBS)
	for b in $(BUILD)-bench/bench/*; do $$b --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done

# Each target starts from its seeds in fuzz/corpus/<target> (read only) and keeps what
# it finds in $(FUZZ_BUILD)/corpus/<target>; a crash leaves its input in
# $(FUZZ_BUILD)/hallazgos and makes the run fail; so do undefined behaviour, a leak
# and an input that hangs.
fuzz: deps
	@missing=$$(for p in $(FUZZ_PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 $(CCACHE) \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_BUILD_FUZZ=ON -DQV_BUILD_TESTS=OFF
	cmake --build $(FUZZ_BUILD) -j2 --target fuzzers
	@mkdir -p $(FUZZ_BUILD)/hallazgos; fallos=0; \
	printf '%-20s %12s %10s %8s\n' target runs runs/s crashes > $(FUZZ_BUILD)/resumen.txt; \
	for f in $(FUZZ_BUILD)/fuzz/fuzz_*; do \
	  [ -f $$f ] && [ -x $$f ] || continue; t=$$(basename $$f); mkdir -p $(FUZZ_BUILD)/corpus/$$t fuzz/corpus/$$t; \
	  echo "== $$t: $(FUZZ_SECONDS) s"; \
	  if UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ASAN_OPTIONS=halt_on_error=1 \
	     $$f $(FUZZ_BUILD)/corpus/$$t fuzz/corpus/$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	       -timeout=$(FUZZ_TIMEOUT) -max_len=$(FUZZ_MAX_LEN) \
	       -artifact_prefix=$(FUZZ_BUILD)/hallazgos/$$t- > $(FUZZ_BUILD)/$$t.log 2>&1; then c=0; else c=1; fallos=1; fi; \
	  runs=$$(sed -n 's/^stat::number_of_executed_units: *//p' $(FUZZ_BUILD)/$$t.log); \
	  rate=$$(sed -n 's/^stat::average_exec_per_sec: *//p' $(FUZZ_BUILD)/$$t.log); \
	  printf '%-20s %12s %10s %8s\n' $$t "$${runs:-?}" "$${rate:-?}" $$c >> $(FUZZ_BUILD)/resumen.txt; \
	done; cat $(FUZZ_BUILD)/resumen.txt; exit $$fallos

clean:
	rm -rf $(BUILD) $(BUILD)-bench $(FUZZ_BUILD)
