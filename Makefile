# The two commands of the README:
#   make run    installs what is missing, builds, and starts the game
#   make test   installs what is missing, builds, and runs every test
# and for a player who keeps the game:
#   make install     builds, and installs the game under PREFIX (/usr/local; DESTDIR honoured)
#   make uninstall   removes exactly the files, and the folders, that make install made
#   make package     builds the Debian package $(BUILD)/zorvik_1.0b_<arch>.deb
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
# What make install wrote, for make uninstall.
INSTALLED ?= $(BUILD)/installed-files.txt
# CMake runs make again inside this one: without this, each level names the folders it enters.
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build run test install uninstall package clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/zorvik

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

install: build
	@scripts/install.sh install $(BUILD) $(PREFIX) $(INSTALLED)

uninstall:
	@scripts/install.sh uninstall $(INSTALLED)

package: build
	@cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
