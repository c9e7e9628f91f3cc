# SPDX-License-Identifier: GPL-3.0-or-later
# Debian packages of the project, and their installation when missing.
PAQUETS_EXECUTION=(cmake g++ make libexpat1-dev zlib1g-dev gpsbabel qtbase5-dev libmarble-dev marble-data marble-plugins libgeographiclib-dev)
PAQUETS_TESTS=(xvfb xauth gpsbabel libxml2-utils libbenchmark-dev clang libclang-rt-14-dev xdotool dpkg-dev gcovr openbox locales x11-utils lintian desktop-file-utils appstream python3)

installer_paquets() {
    local manquants=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || manquants+=("$p")
    done
    [ ${#manquants[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${manquants[@]}"
}

# The French locale of the end-to-end run.
locale_francaise() {
    locale -a | grep -qi '^fr_FR.utf8$' && return 0
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo sed -i 's/^# *fr_FR.UTF-8 UTF-8/fr_FR.UTF-8 UTF-8/' /etc/locale.gen
    $sudo locale-gen > /dev/null
}
