# GLYPHARY_RUN_PREFIX: what a test puts before the path of a program it built
# when it starts that program through the shell. Empty natively. In a cross
# build with an emulator it is the emulator and a space: the host's shell
# cannot start the target's programs by itself (user-mode QEMU runs the
# process it is given, not the programs that process starts).
set(GLYPHARY_RUN_PREFIX "")
if(CMAKE_CROSSCOMPILING AND CMAKE_CROSSCOMPILING_EMULATOR)
  list(JOIN CMAKE_CROSSCOMPILING_EMULATOR " " GLYPHARY_RUN_PREFIX)
  string(APPEND GLYPHARY_RUN_PREFIX " ")
endif()
