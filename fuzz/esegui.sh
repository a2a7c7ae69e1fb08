#!/bin/sh
# esegui.sh [--pulito] HARNESS CORPUS WORK [libFuzzer options...]
# Runs a harness over its committed corpus and then fuzzes from it, keeping new
# inputs in WORK and any input that fails in WORK/guasti/ (copy it into the
# corpus once the fault is mended). --pulito starts WORK afresh, for a fixed run.
set -e
pulito=
if [ "$1" = --pulito ]; then pulito=1; shift; fi
harness=$1 corpus=$2 lavoro=$3
shift 3
[ -z "$pulito" ] || rm -rf "$lavoro/nuovi"
mkdir -p "$lavoro/nuovi" "$lavoro/guasti"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
exec "$harness" -timeout=60 -rss_limit_mb=3072 -max_len=262144 -print_final_stats=1 \
  -artifact_prefix="$lavoro/guasti/" "$@" "$lavoro/nuovi" "$corpus"
