# make run / make test / make bench / make screenshots / make format / make fuzz / make stress
# make portable / make portable-check / make windows / make windows-check
# Each target first installs the Debian packages the project needs when they are missing.

PACKAGES := cmake ninja-build g++ pkg-config \
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n \
  libsqlite3-dev sqlite3 libjpeg62-turbo-dev libxlsxwriter-dev libzip-dev \
  fonts-dejavu-core fonts-liberation fontconfig
# Packages that only the tests need; each piece of work adds its own line.
TEST_PACKAGES :=
# The libFuzzer harnesses: clang with its sanitizer and fuzzer runtimes.
TEST_PACKAGES += clang libclang-rt-14-dev
# A private cupsd with a file queue, and the PDF tools that read its jobs back.
TEST_PACKAGES += cups poppler-utils
# The portable folder's test reads the laid-out program's libraries and desktop entry.
TEST_PACKAGES += python3 patchelf binutils desktop-file-utils
# The office suite users have, to open what the exports write.
TEST_PACKAGES += libreoffice-calc-nogui libreoffice-writer-nogui
FORMAT_PACKAGES := clang-format
# The portable folder: patching run paths, walking the libraries; its check on a fresh Debian.
PORTABLE_PACKAGES := patchelf python3 binutils
PORTABLE_CHECK_PACKAGES := debootstrap xvfb
# The Windows folder: MinGW-w64, nasm for libjpeg-turbo's SIMD code, tcl for SQLite's
# amalgamation, dpkg-dev for apt-get source, Qt's tools of this machine (moc, uic, rcc);
# its check: Wine on Xvfb, sqlite3 to read the archives back.
WINDOWS_PACKAGES := g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
  mingw-w64-x86-64-dev libz-mingw-w64-dev libz-mingw-w64 nasm tcl dpkg-dev xz-utils python3 \
  qt6-base-dev-tools qt6-translations-l10n
WINDOWS_CHECK_PACKAGES := wine wine64 xvfb xauth sqlite3 \
  libreoffice-calc-nogui libreoffice-writer-nogui poppler-utils

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS ?= $(shell nproc)
BUILD := build
ASAN_BUILD := build-asan
FUZZ_BUILD := build-fuzz
# Seconds each harness runs in make fuzz; make stress repeats the two-copies test this many times longer.
FUZZ_TIME ?= 300
STRESS ?= 10
CMAKE_FLAGS := -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
RELEASE_BUILD := build-release
VERSION := $(shell grep -o 'Tegolario VERSION [0-9.]*' CMakeLists.txt | cut -d' ' -f3)
PORTABLE := $(BUILD)/Tegolario
TARBALL := $(BUILD)/Tegolario-$(VERSION)-linux-$(shell uname -m).tar.gz
# The Windows SDK is built once into a cache folder named after its versions.
WINDOWS_SDK_CACHE ?= $(HOME)/.cache/tegolario
WINDOWS_SDK ?= $(WINDOWS_SDK_CACHE)/$(shell bash tools/windows-sdk.sh --name)
WINDOWS_BUILD := build-windows
WINDOWS_ZIP := $(WINDOWS_BUILD)/Tegolario-$(VERSION)-windows-x64.zip

.PHONY: all deps test-deps install-packages build run test test-asan fuzz-build test-fuzz fuzz stress bench \
  screenshots format install portable portable-check windows windows-build windows-check clean

all: build

deps:
	@$(MAKE) --no-print-directory install-packages LIST="$(PACKAGES)"

install-packages:
	@missing=""; for p in $(LIST); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD) && ./tegolario

test-deps:
	@$(MAKE) --no-print-directory install-packages LIST="$(strip $(TEST_PACKAGES))"

test: build test-deps
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) test-asan
	$(MAKE) test-fuzz

test-asan: deps
	[ -f $(ASAN_BUILD)/build.ninja ] || cmake -S . -B $(ASAN_BUILD) $(CMAKE_FLAGS) -DTEGOLARIO_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# The harnesses in their own clang tree.
fuzz-build: deps test-deps
	[ -f $(FUZZ_BUILD)/build.ninja ] || CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(CMAKE_FLAGS) -DTEGOLARIO_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target tegolario_fuzz

# Long runs on new random inputs: each harness for FUZZ_TIME seconds.
fuzz: fuzz-build
	@for src in fuzz/fuzz_*.cpp; do \
	  h=$$(basename $$src .cpp); n=$${h#fuzz_}; l=$(FUZZ_BUILD)/lavoro/$$n; mkdir -p $$l; \
	  echo "== $$h for $(FUZZ_TIME) s: new inputs in $$l/nuovi, failing ones in $$l/guasti"; \
	  fuzz/esegui.sh $(FUZZ_BUILD)/fuzz/$$h fuzz/corpus/$$n $$l -max_total_time=$(FUZZ_TIME) > $$l.log 2>&1; rc=$$?; \
	  grep -E '^(stat::number_of_executed_units|stat::new_units_added|Done|SUMMARY|Verifica)' $$l.log; \
	  [ $$rc = 0 ] || { echo "$$h found a fault: see $$l.log"; exit 1; }; \
	done

# The test run: each corpus, then a fixed number of new inputs from a fixed seed
# (what fuzz/CMakeLists.txt registers), so it is the same every time.
test-fuzz: fuzz-build
	cd $(FUZZ_BUILD) && ctest --output-on-failure -j $(JOBS)

stress: build test-deps
	cd $(BUILD) && TEGOLARIO_STRESS=$(STRESS) ctest --output-on-failure -R test_due_copie

bench: build
	$(BUILD)/bench/tegolario_bench

screenshots: build
	rm -rf $(BUILD)/screenshots && mkdir -p $(BUILD)/screenshots
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ./tegolario --screenshots screenshots

format:
	@$(MAKE) --no-print-directory install-packages LIST="$(FORMAT_PACKAGES)"
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

install: build
	cmake --install $(BUILD)

# The program folder that runs on a Linux desktop without Qt: build/Tegolario and its tarball.
# Laying it out again keeps the password and the archives already in build/Tegolario.
portable: deps
	@$(MAKE) --no-print-directory install-packages LIST="$(PORTABLE_PACKAGES)"
	[ -f $(RELEASE_BUILD)/build.ninja ] || \
	  cmake -S . -B $(RELEASE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTEGOLARIO_TESTS=OFF
	cmake --build $(RELEASE_BUILD) -j $(JOBS)
	/usr/bin/python3 tools/portable.py lay $(RELEASE_BUILD) $(PORTABLE) --tarball $(TARBALL)

# Runs the tarball on a minimal Debian 12 without Qt (downloads a base system; not part of test).
portable-check: portable
	@$(MAKE) --no-print-directory install-packages LIST="$(PORTABLE_CHECK_PACKAGES)"
	$(SUDO) tools/portable-check.sh $(TARBALL) $(RELEASE_BUILD)/debootstrap-cache

# The Windows program folder build-windows/Tegolario and its zip, cross-built with MinGW-w64
# against the Windows SDK (tools/windows-sdk.sh; the first run builds it, about half an hour).
# The user guide and the password file come from the Linux build.
windows: build
	@$(MAKE) --no-print-directory install-packages LIST="$(WINDOWS_PACKAGES)"
	@$(MAKE) --no-print-directory windows-build WINDOWS_TARGET=tegolario
	/usr/bin/python3 tools/windows-folder.py lay $(WINDOWS_BUILD) $(WINDOWS_SDK) $(BUILD) \
	  $(WINDOWS_BUILD)/Tegolario --zip $(WINDOWS_ZIP)

# Runs after the packages are in (the SDK's name asks MinGW nothing, but its build does).
windows-build:
	bash tools/windows-sdk.sh $(WINDOWS_SDK) cmake/mingw-w64-x86_64.cmake
	cmake -S . -B $(WINDOWS_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake -DTEGOLARIO_WINDOWS_SDK=$(WINDOWS_SDK) \
	  -DCMAKE_PREFIX_PATH="$(WINDOWS_SDK)/qt;$(WINDOWS_SDK)" \
	  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
	  -DCMAKE_CROSSCOMPILING_EMULATOR="$(CURDIR)/tools/wine-run.sh;$(CURDIR)/$(WINDOWS_BUILD)/wine;$(WINDOWS_SDK)"
	cmake --build $(WINDOWS_BUILD) -j $(JOBS) $(if $(WINDOWS_TARGET),--target $(WINDOWS_TARGET))

# Under Wine on Xvfb: the screenshots mode, the cross-built tests, a typed card's bytes,
# the exports through COM (recorded, then through the engine).
windows-check: windows
	@$(MAKE) --no-print-directory install-packages LIST="$(WINDOWS_CHECK_PACKAGES)"
	@$(MAKE) --no-print-directory windows-build WINDOWS_TARGET=
	bash tools/windows-check.sh $(WINDOWS_BUILD) $(BUILD) $(WINDOWS_SDK)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(RELEASE_BUILD)
