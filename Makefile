# make run / make test / make bench / make screenshots / make format
# Each target first installs the Debian packages the project needs when they are missing.

PACKAGES := cmake ninja-build g++ pkg-config \
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n \
  libsqlite3-dev sqlite3 libjpeg62-turbo-dev libxlsxwriter-dev libzip-dev \
  fonts-dejavu-core fonts-liberation fontconfig
# Packages that only the tests need; each piece of work adds its own line.
TEST_PACKAGES :=
# A private cupsd with a file queue, and the PDF tools that read its jobs back.
TEST_PACKAGES += cups poppler-utils
# The office suite users have, to open what the exports write.
TEST_PACKAGES += libreoffice-calc-nogui libreoffice-writer-nogui
FORMAT_PACKAGES := clang-format

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS ?= $(shell nproc)
BUILD := build
ASAN_BUILD := build-asan
CMAKE_FLAGS := -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps test-deps install-packages build run test test-asan bench screenshots format install clean

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

test-asan: deps
	[ -f $(ASAN_BUILD)/build.ninja ] || cmake -S . -B $(ASAN_BUILD) $(CMAKE_FLAGS) -DTEGOLARIO_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

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

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
