// The program's long-lived windows, reachable from every other window, and
// the settings file they load from and store to.
#pragma once

#include <QString>

#include <string>

class Tfrm_main;
class Tfrm_production;
class Tfrm_browse;
class Tfrm_setting;
class Tfrm_effect;
class Tfrm_layout;
class Tfrm_about;

// Set as each window is created, before its creation handler runs.
extern Tfrm_main* frm_main;
extern Tfrm_production* frm_production;
extern Tfrm_browse* frm_browse;
extern Tfrm_setting* frm_setting;
extern Tfrm_effect* frm_effect;
extern Tfrm_layout* frm_layout;
// Only while the About box is shown.
extern Tfrm_about* frm_about;

namespace glyphary::ui {

// The INI file every window reads at creation and writes at exit.
const QString& SettingsPath();
void SetSettingsPath(const QString& path);
// The same path in the file system's encoding, as the settings reader takes it.
std::string SettingsFileName();

// The folder of the running program, without a trailing separator.
QString ExecutableFolder();

}  // namespace glyphary::ui
