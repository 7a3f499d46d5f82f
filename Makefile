# Quillet: every entry point sets up what it needs first (scripts/install-deps is idempotent).
JOBS ?= $(shell nproc)
# CI builds with warnings as errors.
CMAKE_EXTRA := $(if $(CI),-DQUILLET_WERROR=ON,)
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
                 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan-suppressions.txt \
                 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

define build_preset
	mkdir -p build && cmake --preset $(1) $(CMAKE_EXTRA) > build/configure-$(1).log || (cat build/configure-$(1).log; exit 1)
	cmake --build --preset $(1) -j $(JOBS)
endef

.PHONY: all deps run screenshots test test-asan test-tsan package bench fuzz-smoke clean
all: test

deps:
	@scripts/install-deps

run: deps
	$(call build_preset,default)
	./build/default/cli/quillet-cli slices build/default/demo/demo-loop.wav --sensitivity 50
	./build/default/cli/quillet-cli slice build/default/demo/demo-loop.wav -o build/demo-loop.lx2 --force \
	  --sensitivity 50 --bars 2 --sign 4/4 --preview on
	./build/default/cli/quillet-cli info build/demo-loop.lx2
	./build/default/cli/quillet-cli render build/demo-loop.lx2 -o build/demo-loop-140bpm.wav --force --tempo 140
	./build/default/cli/quillet-cli info build/demo-loop-140bpm.wav
	./build/default/cli/quillet-cli export build/demo-loop.lx2 --format wav -o build/demo-slices --midi --force
	ls build/demo-slices
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  echo "Opening the editor on build/demo-loop.lx2"; \
	  ./build/default/ui/quillet build/demo-loop.lx2; \
	else \
	  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set), so the editor was not started."; \
	  echo "On a desktop, open the demo loop in the editor with:"; \
	  echo "  ./build/default/ui/quillet build/demo-loop.lx2"; \
	fi

# Pictures of the editor, drawn on Qt's offscreen platform: no display needed.
screenshots: deps
	$(call build_preset,default)
	./build/default/cli/quillet-cli slice build/default/demo/demo-loop.wav -o build/demo-loop.lx2 --force \
	  --sensitivity 50 --bars 2 --sign 4/4 --preview on
	rm -rf build/screenshots
	./build/default/ui/quillet-screenshots build/screenshots build/demo-loop.lx2 2> build/screenshots.log
	./build/default/ui/quillet-screenshots build/screenshots build/demo-loop.lx2 --scale 2 2>> build/screenshots.log

test: deps
	$(call build_preset,default)
	ctest --preset default

# The Debian package build/package/quillet_VERSION_ARCH.deb (CPack; resources/package/).
package: deps
	$(call build_preset,default)
	cpack --config build/default/CPackConfig.cmake -B $(CURDIR)/build/package
	@echo "Install it with: sudo apt install ./$$(ls build/package/quillet_*.deb | tail -n 1)"

test-asan: deps
	$(call build_preset,asan)
	$(SANITIZER_ENV) ctest --preset asan

test-tsan: deps
	$(call build_preset,tsan)
	ctest --preset tsan

bench: deps
	$(call build_preset,default)
	@for b in build/default/bench/*_bench; do [ -x "$$b" ] && "$$b" || exit 1; done
	scripts/bench-peers build/default
	scripts/bench-editor build/default

fuzz-smoke: deps
	$(call build_preset,fuzz)
	scripts/fuzz-smoke build/fuzz/fuzz

clean:
	rm -rf build
