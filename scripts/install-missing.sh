# SPDX-FileCopyrightText: 2026 The Pelomart developers
# SPDX-License-Identifier: MIT

# Sourced by the project's scripts: installs the Debian packages given that are missing,
# with apt-get as root and through sudo otherwise.
install_missing() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" ||
        { "${sudo[@]}" apt-get update -q &&
            "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"; }
}
