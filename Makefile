# Set-up and everyday commands. `make run` and `make test` install what a fresh Debian 12
# machine is missing, configure, build and run.

BUILD_DIR ?= build
BUILD_TYPE ?= Release
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# Debian packages the build, the tests, the benchmarks, the fuzzers and the Debian package need.
DEB_PACKAGES := cmake ninja-build g++ make git ccache pkg-config \
                libgtest-dev libgmock-dev libbenchmark-dev \
                clang libclang-rt-14-dev \
                qt6-base-dev libqt6opengl6-dev qt6-svg-dev qt6-multimedia-dev xvfb xauth \
                libgl1-mesa-dri libglu1-mesa-dev \
                dpkg-dev file desktop-file-utils appstream

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build test run bench package clean

all: build

deps:
	@missing=""; for p in $(DEB_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi

configure: deps
	@if [ ! -f $(BUILD_DIR)/build.ninja ]; then \
	  cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE); \
	fi

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# Starts the editor on the sample level with the demo archives. Without a display it runs under
# a virtual one and writes a picture of the main window instead.
SCREENSHOT := $(BUILD_DIR)/morvi-screenshot.png
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  $(BUILD_DIR)/bin/morvi --demo $(BUILD_DIR)/share/morvi/sample/sample.mrv; \
	else \
	  xvfb-run -a -s "-screen 0 1600x1000x24" $(BUILD_DIR)/bin/morvi --demo --screenshot $(SCREENSHOT) \
	    $(BUILD_DIR)/share/morvi/sample/sample.mrv; \
	fi

# The Debian package of the programs and their data, written into the build folder.
package: build
	cd $(BUILD_DIR) && cpack -G DEB

bench: build
	@for b in $(BUILD_DIR)/bin/bench_*; do $$b; done

clean:
	rm -rf $(BUILD_DIR)
