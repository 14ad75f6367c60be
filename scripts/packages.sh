# Debian packages Markwright needs, and a helper that installs the missing ones. Sourced by the
# other scripts.

# Building and running: the compiler, CMake, Qt 6 for the window, libmediainfo for DVDs, pugixml
# for Matroska chapter XML, libmatroska and libebml for chapters in Matroska files, libavformat,
# libavcodec and libswscale for the video module, rsvg-convert for the PNG icons.
RUN_PACKAGES=(g++ make cmake pkg-config qt6-base-dev qt6-svg-dev libmediainfo-dev libpugixml-dev libavformat-dev libavcodec-dev libavutil-dev libswscale-dev
              libmatroska-dev libebml-dev librsvg2-bin)

# Testing on top: test frameworks, sanitizer runtime and fuzzer (clang), the format and lint
# checks, the real programs the output is checked against, the package checks (dpkg-dev
# for cpack's dependency list, appstream for the metadata, lintian for the package, the desktop
# entry's validator and a MIME database with gio to detect types), ccache for quick rebuilds, and
# python3 for scripts/mutate and the tests that need a socket.
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev clang-14 libclang-rt-14-dev
               clang-format clang-tidy mkvtoolnix x264 x265 dvdauthor ffmpeg lsdvd
               dpkg-dev appstream lintian desktop-file-utils shared-mime-info libglib2.0-bin ccache
               python3)

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

# Runs the given configure command, then builds the folder, showing the compiler's output only on
# failure. ccache, when installed, makes a rebuild after a small change quick.
configure_and_build() {
  local build_dir=$1; shift
  local log="$build_dir/build.log" launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # Paths inside the checkout count as relative, so another clone on the machine finds the hits.
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$ROOT}
  mkdir -p "$build_dir"
  if ! { "$@" "${launcher[@]}" && cmake --build "$build_dir" -j"$(nproc)"; } >"$log" 2>&1; then
    cat "$log" >&2
    echo "Build failed (log: $log)" >&2
    return 1
  fi
}

# Configures and builds one of CMakePresets.json's presets (release, test, fuzz) into its folder.
# Further arguments go to the configure step.
build_preset() {
  local preset=$1 build_dir=$2; shift 2
  configure_and_build "$build_dir" cmake -S "$ROOT" --preset "$preset" "$@"
}

# Configures and builds into the given folder with the given cache settings.
build_tree() {
  local build_dir=$1; shift
  configure_and_build "$build_dir" cmake -S "$ROOT" -B "$build_dir" "$@"
}
