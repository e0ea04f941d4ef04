# Cross-building for arm64 on a Debian host with the arm64 libraries
# installed beside the native ones (scripts/install-deps.sh --arm64), and
# running what is built under QEMU's user-mode emulator.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
# CPack would otherwise label the package with the host's architecture.
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)

# Multiarch keeps both architectures' libraries under /usr, each in its own
# lib/<triplet> folder; programs are the host's.
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# The arm64 Qt packages name the host's moc, rcc and uic in /usr/lib/qt6,
# which are the native ones (qt6-base-dev-tools is Multi-Arch: foreign).
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)

# Tests, and the test discovery at build time, run under the emulator. The
# loader and libraries are where multiarch put them, so no -L is needed.
find_program(GLYPHARY_QEMU_AARCH64 qemu-aarch64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${GLYPHARY_QEMU_AARCH64})
