#!/usr/bin/env bash
# Lighthouse (pinned in tools/web, installed by ./check with npm ci) against
# the built page, in Debian's Chromium: 100 for accessibility, best practices
# and performance, with Lighthouse's own mobile emulation and throttling.
#   lighthouse.sh <site>
set -euo pipefail
site="$1"
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
lighthouse="$here/../../tools/web/node_modules/.bin/lighthouse"
[ -x "$lighthouse" ] || { echo "FAIL: no Lighthouse; run: npm ci --prefix tools/web"; exit 1; }
work=$(mktemp -d)
exec 3< <(node "$here/../../tools/serve-web" "$site" 0)
server=$!
trap 'kill "$server" 2>/dev/null || true; rm -rf "$work"' EXIT
read -r -t 10 url <&3
CHROME_PATH=${QIMBAR_CHROMIUM:-/usr/bin/chromium} "$lighthouse" "$url" --quiet \
    --chrome-flags="--headless --no-sandbox --disable-gpu --disable-background-networking --disable-component-update --disable-sync --no-first-run --user-data-dir=$work/profile" \
    --only-categories=accessibility,best-practices,performance \
    --output=json --output-path="$work/report.json"
node -e '
const report = require(process.argv[1]);
let status = 0;
for (const [name, category] of Object.entries(report.categories)) {
  console.log(`${name}: ${Math.round(category.score * 100)}`);
  if (category.score !== 1) status = 1;
}
for (const audit of Object.values(report.audits)) {
  if (audit.score !== null && audit.score < 1 &&
      !["informative", "notApplicable", "manual"].includes(audit.scoreDisplayMode)) {
    console.log(`  ${audit.id}: ${audit.score} ${audit.displayValue || ""}`);
  }
}
console.log(status === 0 ? "PASS" : "FAIL: below 100");
process.exit(status);' "$work/report.json"
