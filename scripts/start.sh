#!/usr/bin/env bash
# Installs what is missing, builds, makes a demo address book beside the program and starts it.
source "$(dirname "$0")/common.sh"
install_packages "${BUILD_PACKAGES[@]}"
build
cd "$BUILD"
[ -e data.mdb ] || ./corvane-mkdb --demo data.mdb
exec ./corvane
