#!/usr/bin/env bash
# Installs what is missing, builds, starts CUPS with a PDF test printer and runs every test.
source "$(dirname "$0")/common.sh"
install_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
"$ROOT/scripts/cups-test-printer.sh"
build -DCORVANE_WERROR=ON   # warnings are errors in the build the tests run on
cd "$BUILD"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
