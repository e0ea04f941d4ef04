// Creation and destruction of the long-lived windows, in the program's order.
#pragma once

namespace glyphary::app {

// frm_main, frm_production, frm_browse, frm_setting, frm_effect, frm_layout: each
// reference is set before the window's creation handler runs. Shows only the
// main window.
void CreateForms();
// StoreSettings, then every window in the reverse order of creation.
void DestroyForms();
// The stores at exit: the export options before the main window's keys, the
// border and shadow, then the layout after those. Their failures are shown together in one
// message over the main window. Also for the end of the desktop session and
// the stop signals, after which the program may be killed.
void StoreSettings();

}  // namespace glyphary::app
