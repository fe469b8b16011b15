# Sourced by run.sh and test.sh: installs the Debian packages that are missing.
FIZMO_RUN_PACKAGES="cmake g++ pkg-config qt6-base-dev libxcb1-dev libsdl2-dev fonts-ipafont-gothic"
FIZMO_TEST_PACKAGES="libgtest-dev libbenchmark-dev clang-14 libclang-rt-14-dev xvfb xdotool imagemagick xclip desktop-file-utils valgrind"
# What cpack needs to make the Debian package, and what checks the package.
FIZMO_PACKAGE_PACKAGES="dpkg-dev file"
FIZMO_TEST_PACKAGES+=" $FIZMO_PACKAGE_PACKAGES lintian appstream man-db"
# A real window manager for the tests of the window.
FIZMO_TEST_PACKAGES+=" openbox wmctrl x11-utils"
# A real sound server, whose output the tests record.
FIZMO_TEST_PACKAGES+=" pulseaudio pulseaudio-utils"
# GNOME's sound server: PipeWire with its PulseAudio layer and session manager, on a bus of its own.
FIZMO_TEST_PACKAGES+=" pipewire pipewire-pulse wireplumber dbus-daemon"
# A Wayland compositor, and Qt's Wayland platform for the game under it.
FIZMO_TEST_PACKAGES+=" weston qt6-wayland"
# A decimal-comma locale for the records test, made in the test's own folder.
FIZMO_TEST_PACKAGES+=" locales"
# よみあげ: Open JTalk and its dictionary read the questions aloud.
FIZMO_RUN_PACKAGES+=" open-jtalk open-jtalk-mecab-naist-jdic"
# Reading the teacher's PDF back: its pages as pictures, its text as selectable text.
FIZMO_TEST_PACKAGES+=" poppler-utils"

fizmo_install_missing() {
  local missing=()
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}
