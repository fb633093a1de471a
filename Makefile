# The two commands of the README; each installs what it needs first.
JOBS ?= $(shell nproc)
SAMPLE := sample/sample.smc

.PHONY: run run-windows run-web test dist dist-check deps native asan qt windows web wine-test web-test format-check fuzz-build fuzz-smoke fuzz bench bench-native bench-web install clean

# The native editor (Qt 6) on the sample image.
run: deps qt
	mkdir -p $(dir $(SAMPLE))
	build/qt/tools/make-sample-image $(SAMPLE)
	scripts/run-native build/qt $(dir $(SAMPLE))

# TAVERO.EXE under Wine on the sample image.
run-windows: deps native windows
	mkdir -p $(dir $(SAMPLE))
	build/native/tools/make-sample-image $(SAMPLE)
	scripts/run-editor build/windows $(dir $(SAMPLE))

# The editor as a web page, served from this machine (WEB_PORT=0 takes a free port).
WEB_PORT ?= 8123
run-web: deps web
	scripts/serve-site build/web/site $(WEB_PORT)

# The fast native tests first, so that a failure shows before the long builds.
test: deps native
	ctest --preset native -j $(JOBS)
	scripts/check-format
	scripts/check-js
	$(MAKE) asan
	ctest --preset asan
	$(MAKE) qt
	ctest --preset qt
	$(MAKE) web-test windows wine-test fuzz-smoke
	$(MAKE) dist-check

deps:
	scripts/install-deps

# The release of the last commit in dist/: the Windows zip, the Debian package, the web zip.
dist: deps
	JOBS=$(JOBS) packaging/make-dist

# make dist in two clean clones, compared byte for byte; then each artifact tried as a user would.
dist-check: deps
	JOBS=$(JOBS) tests/dist/check-release

native:
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)

asan:
	cmake --preset asan >/dev/null
	cmake --build --preset asan -j $(JOBS)

qt:
	cmake --preset qt >/dev/null
	cmake --build --preset qt -j $(JOBS)

windows:
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS)

web:
	cmake --preset web >/dev/null
	cmake --build --preset web -j $(JOBS)

# Every C++ file as .clang-format has it (scripts/check-format --fix formats them), and the
# page's JavaScript as .eslintrc.json has it (scripts/check-js).
format-check: deps
	scripts/check-format
	scripts/check-js

wine-test: deps windows
	tests/wine/run-wine-tests build/windows

# The page in Chromium, Firefox and WebKit, against tavero-cli and the sample images of the native build.
web-test: deps native web
	tests/web/run-web-tests build/web/site build/native

fuzz-build: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)

# A short run of every fuzz target on top of the tests; `make fuzz FUZZ_SECONDS=3600` for long ones.
FUZZ_SECONDS ?= 600
fuzz-smoke: fuzz-build
	fuzz/run-fuzzers 30

fuzz: fuzz-build
	fuzz/run-fuzzers $(FUZZ_SECONDS)

bench: deps native
	build/native/bench/load_bench
	build/native/bench/render_bench
	build/native/bench/patch_bench

# The native editor's start and Load beside TAVERO.EXE's under Wine, in one run.
bench-native: deps qt windows
	bench/native-times

# The page's opening, a Load and the site's size in Chromium, Firefox and WebKit (median of 10).
bench-web: deps native web
	bench/web-times build/web/site build/native

# tavero and tavero-cli with the desktop entry, the .fig type and the icon, under PREFIX.
PREFIX ?= $(HOME)/.local
install: deps qt
	cmake --install build/qt --prefix $(PREFIX)
	-update-mime-database $(PREFIX)/share/mime 2>/dev/null
	-update-desktop-database $(PREFIX)/share/applications 2>/dev/null

clean:
	rm -rf build sample dist
