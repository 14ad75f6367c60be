# Debian packages Markwright needs, and a helper that installs the missing ones. Sourced by the
# other scripts.

# Building and running: the compiler, CMake, Qt 6 for the window, libmediainfo for DVDs.
RUN_PACKAGES=(g++ make cmake pkg-config qt6-base-dev qt6-svg-dev libmediainfo-dev)

# Testing on top: test frameworks, sanitizer runtime and fuzzer (clang), and the real programs the
# output is checked against.
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev clang-14 libclang-rt-14-dev
               mkvtoolnix x264 dvdauthor ffmpeg lsdvd)

# Installs whichever of the named packages is missing. Asks apt only when something is missing,
# so a machine that has everything needs no network.
ensure_packages() {
  local missing=() package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed'; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}" >&2
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null; then sudo=(sudo); else
      echo "Missing packages (${missing[*]}); run as root or install them." >&2
      return 1
    fi
  fi
  "${sudo[@]}" apt-get update -q >&2
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends \
    "${missing[@]}" >&2
}

# Configures and builds into the given folder, showing the compiler's output only on failure.
build_tree() {
  local build_dir=$1; shift
  local log="$build_dir/build.log"
  mkdir -p "$build_dir"
  if ! { cmake -S "$ROOT" -B "$build_dir" "$@" && cmake --build "$build_dir" -j"$(nproc)"; } >"$log" 2>&1; then
    cat "$log" >&2
    echo "Build failed (log: $log)" >&2
    return 1
  fi
}
