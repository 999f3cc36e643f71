#!/usr/bin/env bash
# Checks that every tracked C++ file is formatted as .clang-format says; prints the differences and
# fails when one is not. `clang-format -i FILE` formats a file. To check before each commit:
#   ln -s ../../scripts/check-format.sh .git/hooks/pre-commit
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
