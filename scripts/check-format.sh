#!/usr/bin/env bash
# Fails when a C++ source of the tree is not formatted by .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -co --exclude-standard '*.h' '*.cpp' | xargs clang-format --dry-run -Werror
echo "check-format: every source is formatted"
