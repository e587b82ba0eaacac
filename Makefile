# The two commands of the README:
#   make run    installs what the game needs, builds the game alone, and starts it
#   make test   installs what the tests need too, builds everything, and runs every test
# and for a player who keeps the game:
#   make install     builds, and installs the game under PREFIX (/usr/local; DESTDIR honoured)
#   make uninstall   removes exactly the files, and the folders, that make install made
#   make package     builds the Debian package $(BUILD)/zorvik_1.0b_<arch>.deb
#   make clean       removes the build folder, all but the score log $(BUILD)/zorvik.txt
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
# What make install wrote, for make uninstall.
INSTALLED ?= $(BUILD)/installed-files.txt
# CMake runs make again inside this one: without this, each level names the folders it enters.
MAKEFLAGS += --no-print-directory

# Arguments of scripts/install-deps.sh: the game's packages, and those the command adds.
DEPS =
# A build folder that make run, install or package starts leaves the tests and benchmarks out, so
# that the game needs none of their packages; make test takes them in, and they stay in.
CONFIGURE = $(if $(wildcard $(BUILD)/CMakeCache.txt),,-DBUILD_TESTING=OFF -DZORVIK_BUILD_BENCH=OFF)

.PHONY: all deps configure build game run test install uninstall package clean

all: build

deps:
	@scripts/install-deps.sh $(DEPS)

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CONFIGURE) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

game: configure
	@cmake --build $(BUILD) -j $(JOBS) --target zorvik

run: game
	$(BUILD)/zorvik

test: DEPS = --test
test: CONFIGURE = -DBUILD_TESTING=ON -DZORVIK_BUILD_BENCH=ON
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

install: build
	@scripts/install.sh install $(BUILD) $(PREFIX) $(INSTALLED)

uninstall:
	@scripts/install.sh uninstall $(INSTALLED)

# CPack looks for the programs to strip and to pass to dpkg-shlibdeps with file.
package: DEPS = file
package: build
	@cd $(BUILD) && cpack -G DEB

# The score log beside the program holds the games played with make run: it stays.
clean:
	@if [ -e $(BUILD)/zorvik.txt ]; then \
		find $(BUILD) -mindepth 1 -maxdepth 1 ! -name zorvik.txt -exec rm -rf {} +; \
		echo "Removed $(BUILD)/ but for the score log $(BUILD)/zorvik.txt."; \
	else \
		rm -rf $(BUILD); \
	fi
