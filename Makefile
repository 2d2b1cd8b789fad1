# The two set-up commands of the README. Both install what is missing first.
.PHONY: run test deps build-release build-dev bench format clean

JOBS ?= $(shell nproc)

deps:
	@bash scripts/install-deps.sh

build-release: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)

build-dev: deps
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS)

run: build-release
	./build/release/vantrel

test: build-dev
	ctest --preset dev -j $(JOBS)

bench: build-release
	./build/release/vantrel-bench

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
