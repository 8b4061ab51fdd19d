# shellcheck shell=bash
# The browser driver for the page's tests and the web benchmark: puppeteer-core at the version
# that tests/web/package-lock.json pins, with no browser downloaded (Debian's are driven).

# install_puppeteer FOLDER: npm ci into FOLDER, again only when the lock file changed (the
# stamp lies inside node_modules, which npm ci replaces whole).
install_puppeteer() {
    local lock
    lock="$(dirname "${BASH_SOURCE[0]}")/../../tests/web/package-lock.json"
    cmp -s "$lock" "$1/node_modules/.installed-lock.json" && return
    mkdir -p "$1" && cp "$(dirname "$lock")/package.json" "$lock" "$1/" || return
    (cd "$1" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund) >&2 &&
        cp "$lock" "$1/node_modules/.installed-lock.json"
}
