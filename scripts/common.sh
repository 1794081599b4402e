# Shared by scripts/run and scripts/test: installing what is missing and building.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${VELTOR_BUILD_DIR:-$ROOT/build}"

# What building and running the program needs.
BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-translations-l10n fonts-liberation2)

# Installs the Debian packages among "$@" that are not installed yet.
install_missing() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

# Configures the build folder $1 (default $BUILD), passing the further arguments to CMake.
configure() {
    cmake -S "$ROOT" -B "${1:-$BUILD}" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${@:2}" >/dev/null
}

# Configures as configure does and builds everything there.
build() {
    configure "$@"
    cmake --build "${1:-$BUILD}"
}
