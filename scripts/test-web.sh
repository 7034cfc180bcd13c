#!/usr/bin/env bash
# `make test-web`: the browser build's checks, after `make web`.
#  1. The replay driver built for Node.js plays every script of tests/replay/
#     (the long one too) and must give the desktop's golden traces exactly.
#  2. The page in headless Chromium (tests/web/browser_test.mjs, driven by
#     puppeteer-core from npm over Debian's chromium; no browser is fetched).
# Argument: the web build directory (build-web).
set -uo pipefail
build=${1:-build-web}
cd "$(dirname "$0")/.."
status=0

echo "--- traces of the browser build under Node.js against the golden traces"
ZUBA_LONG_TESTS=1 bash tests/e2e/replay_golden.sh - "$build/zuba-trilo-replay" . || status=1

echo "--- the page in headless Chromium"
if [ ! tests/web/node_modules/.package-lock.json -nt tests/web/package-lock.json ]; then
    (cd tests/web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error) || exit 1
fi
node tests/web/browser_test.mjs "$build" . || status=1
exit $status
