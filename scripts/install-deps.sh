#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the fuzzers and the benchmarks need,
# when any is missing. The program itself needs only a C++20 compiler and its library.
set -euo pipefail
packages=(
  cmake ninja-build g++ clang clang-format
  libgtest-dev          # GoogleTest
  libgmp-dev            # exact arithmetic for the test oracles
  libbenchmark-dev      # Google Benchmark
  libclang-rt-14-dev    # sanitizer and libFuzzer runtimes for clang
)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
