# The two set-up commands of the README (run, test) and a few helpers. Every target that builds
# installs what is missing first.
.PHONY: run test bench deps configure-release configure-dev format clean

JOBS ?= $(shell nproc)

deps:
	@bash scripts/install-deps.sh

configure-release: deps
	cmake --preset release

configure-dev: deps
	cmake --preset dev

run: configure-release
	cmake --build --preset release -j $(JOBS) --target vantrel
	./build/release/vantrel

test: configure-dev
	cmake --build --preset dev -j $(JOBS)
	ctest --preset dev -j $(JOBS)

bench: configure-release
	cmake --build --preset release -j $(JOBS) --target vantrel-bench
	./build/release/vantrel-bench

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
