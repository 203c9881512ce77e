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

# A Wine prefix of the build's own, booted once. Its windows are not managed: without a window
# manager Wine would otherwise wait for one each time a window closes.
wineprefix: deps
	@if [ ! -f "$(PREFIX)/system.reg" ]; then \
	    mkdir -p "$(PREFIX)" && $(WINE_ENV) wineboot -i >/dev/null 2>&1; \
	    $(WINE_ENV) wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1; \
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
	@echo "== Start-up of the Windows program, under Wine =="
	@imports() { x86_64-w64-mingw32-objdump -p "$$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr A-Z a-z | sort; }; \
	if [ "$$(imports build/windows/morvane.exe)" != "$$(imports build/windows/bench/bare_window_dlls.exe)" ]; then \
	    echo "bench/bare_window.cpp must import the DLLs morvane.exe imports" >&2; exit 1; \
	fi
	@cmake/wine-run.sh "$(PREFIX)" build/windows/bench/startup_bench.exe build/windows/bench/bare_window.exe \
	    build/windows/bench/bare_window_dlls.exe build/windows/morvane.exe 2> >(grep -v '^X connection' >&2)
	@echo "== Windows build, under Wine =="
	@$(WINE_ENV) wine build/windows/bench/store_bench_win.exe
	@echo "== Native build =="
	@build/bench/bench/launch_bench
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

# UI scenarios on both backends, headless first, then the real window under Wine.
# SCENARIOS="a.scn dir/*.scn" picks files (default: the project's); OUT=DIR keeps every
# scenario's folder under DIR/headless and DIR/win32.
SCENARIOS ?= tests/scenarios/*.scn
OUT ?=
.PHONY: scenarios screenshots
scenarios: deps wineprefix
	cmake --preset native
	cmake --build --preset native -j $(JOBS) --target uiscript
	cmake --preset windows
	cmake --build --preset windows -j $(JOBS) --target uiscript
	@files=""; for f in $(SCENARIOS); do files="$$files $$(realpath -m "$$f")"; done; \
	status=0; \
	echo "== headless =="; \
	build/native/tools/uiscript/uiscript --backend headless \
	    $(if $(OUT),--out "$(abspath $(OUT))/headless") $$files || status=1; \
	echo "== win32, under Wine =="; \
	cmake/wine-run.sh "$(PREFIX)" build/windows/tools/uiscript/uiscript.exe --backend win32 \
	    $(if $(OUT),--out "$(abspath $(OUT))/win32") $$files || status=1; \
	exit $$status

# One PNG per page of the real window under Wine: build/screenshots/page0.png ... page5.png, and
# screen.png with the window on its 1600x1000 screen, started from the sample settings file
# with a configuration and a pool configuration chosen and a record loaded into each editor
# page, and launched.png: the output page after the launch of the sample's "Rig A". DPI=144
# pictures it on a screen of that DPI (a copy of the build's prefix with that LogPixels).
DPI ?=
screenshots: deps wineprefix
	@scripts/install-deps.sh imagemagick
	cmake --preset windows
	cmake --build --preset windows -j $(JOBS) --target pageshots
	rm -rf build/screenshots && mkdir -p build/screenshots
	@prefix="$(PREFIX)"; \
	if [ -n "$(DPI)" ]; then prefix=$$(cmake/wine-dpi-prefix.sh "$(PREFIX)" "$(DPI)") || exit 1; fi; \
	cd build/screenshots && "$(CURDIR)/cmake/wine-run.sh" "$$prefix" \
	    "$(CURDIR)/build/windows/tools/pageshots/pageshots.exe" . ../../tests/fixtures/Morvane.ini \
	    "Rig A"
	for bmp in build/screenshots/*.bmp; do \
	    convert "$$bmp" "$${bmp%.bmp}.png" && rm "$$bmp" || exit 1; \
	done
	@ls build/screenshots

# Builds morvane.exe and runs it under Wine (the build's prefix) from build/run, so Morvane.ini
# and the scripts it writes land there. With a display it runs until its window is closed.
# Without one it runs on a virtual display: the window is pictured to build/run/screenshot.png
# and the program is closed again.
RUN_DIR := $(CURDIR)/build/run

define RUN_HEADLESS
wine morvane.exe >/dev/null 2>&1 &
pid=$$!
window=
for attempt in $$(seq 1 240); do
    window=$$(xwininfo -root -tree | awk '/"Morvane\/Launcher/ { print $$1; exit }')
    [ -n "$$window" ] && break
    kill -0 $$pid 2>/dev/null || break
    sleep 0.5
done
status=1
if [ -n "$$window" ]; then
    sleep 3  # let it paint
    import -window "$$window" screenshot.png && status=0
else
    echo "The window did not appear." >&2
fi
kill $$pid 2>/dev/null
wait $$pid 2>/dev/null
wineserver -w
exit $$status
endef
export RUN_HEADLESS

.PHONY: run
run: wineprefix
	@scripts/install-deps.sh x11-utils imagemagick
	cmake --preset windows
	cmake --build --preset windows --target morvane
	mkdir -p $(RUN_DIR)
	cp build/windows/morvane.exe build/windows/morvane.exe.debug $(RUN_DIR)/
	@cd $(RUN_DIR) && if [ -n "$$DISPLAY" ]; then \
	    $(WINE_ENV) wine morvane.exe; \
	else \
	    $(WINE_ENV) xvfb-run -a -s "-screen 0 1600x1000x24" bash -c "$$RUN_HEADLESS" && \
	    echo "Screenshot of the window: $(RUN_DIR)/screenshot.png"; \
	fi
