# One entry point for building, testing and benchmarking Morvane on Linux.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
PREFIX := $(CURDIR)/build/windows/wineprefix
WINE_ENV := WINEPREFIX=$(PREFIX) WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8 LC_ALL=C.UTF-8

.PHONY: test deps native windows wineprefix bench fuzz clean

deps:
	@scripts/install-deps.sh

native: deps
	cmake --preset native
	cmake --build --preset native -j $(JOBS)

windows: deps
	cmake --preset windows
	cmake --build --preset windows -j $(JOBS)

# A Wine prefix of the build's own, booted once.
wineprefix: deps
	@if [ ! -f "$(PREFIX)/system.reg" ]; then \
	    mkdir -p "$(PREFIX)" && $(WINE_ENV) wineboot -i >/dev/null 2>&1; \
	    $(WINE_ENV) wineserver -w; \
	fi

# Every test of both builds; the Windows ones run under Wine.
test: native windows wineprefix
	@status=0; \
	ctest --preset native || status=1; \
	ctest --preset windows || status=1; \
	exit $$status

bench: deps windows wineprefix
	cmake --preset bench
	cmake --build --preset bench -j $(JOBS)
	@echo "== Windows build, under Wine =="
	@$(WINE_ENV) wine build/windows/bench/store_bench_win.exe
	@echo "== Native build =="
	@build/bench/bench/store_bench

FUZZ_SECONDS ?= 60
fuzz:
	@scripts/install-deps.sh clang libclang-rt-14-dev
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	mkdir -p build/fuzz/corpus
	build/fuzz/fuzz/store_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=4096 build/fuzz/corpus fuzz/seeds

clean:
	rm -rf build
