# setup.sh -- sourced by the demo and test commands: installs what is missing.

# need_packages PKG...: install the Debian packages that are not installed yet.
need_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq && $sudo env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "${missing[@]}" || {
        echo "error: could not install ${missing[*]}" >&2
        return 1
    }
}

# What every build needs.
BUILD_PACKAGES=(cmake make g++ libgtest-dev libbenchmark-dev nlohmann-json3-dev)
# The fuzz targets: clang with its sanitizer and libFuzzer runtimes.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
# The Windows build and Wine to run its tests (GoogleTest is built from
# libgtest-dev's sources).
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine64 wine)

# configure_and_build DIR [CMAKE ARGS...]
configure_and_build() {
    local dir=$1; shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j"${VX_JOBS:-$(nproc)}"
}
