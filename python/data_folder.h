// Where the module finds the program's files (the font aliases).
#pragma once

namespace glyphary {

// Inside python3, the running executable is not ours: the data folder is
// found from the module's own place, in the build tree (build/python/..)
// or installed (PREFIX/lib/python3.../dist-packages/../../../share/glyphary).
void UseDataFolderBesideModule();

}  // namespace glyphary
